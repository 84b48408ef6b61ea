#pragma once

// Listens to WSJT-X's UDP messages and puts the stations its decodes name into a StationStore;
// sends back the Reply that makes WSJT-X answer one of them.
//
// Each WSJT-X instance (told apart by its id) is followed through its Status: the operator's call
// (a decode addressed to it is "calling me"), the dial frequency and its band, the mode. A decode
// with a grid is placed at the centre of the square; without one, at its country's point, marked
// approximate; with neither it is counted and left out. A Clear from an instance drops its
// decodes (WSJT-X can no longer answer them); a Close forgets the instance.
//
// Datagrams that are not WSJT-X's, cut short or larger than WSJT-X ever sends are counted and
// dropped. Messages addressed to WSJT-X by other programs (a Reply, a Clear naming a window),
// seen when listening to a multicast group, are ignored.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "geodesy/geo_point.h"
#include "stations/station_store.h"

namespace orbida::live {

inline constexpr quint16 kWsjtxDefaultPort = 2237;

class WsjtxListener {
  public:
    // The largest datagram read. WSJT-X's largest, a Status or a logged QSO, is a few hundred
    // bytes; a bigger one would only fill the store, whose decodes are kept whole for the Reply.
    static constexpr qsizetype kMaxDatagramBytes = 8 * 1024;
    // Instances followed at once; beyond, the one silent longest is forgotten.
    static constexpr std::size_t kMaxInstances = 16;

    struct Hooks {
        // Where a call's country lies (longitude west positive), for a decode without a grid.
        std::function<std::optional<geodesy::GeoPoint>(const QString& call)> countryPosition;
        // The time a station is heard at; the system clock when not given.
        std::function<stations::Clock::time_point()> now;
        // Called after a datagram changed the store, or an instance's DX call or grid.
        std::function<void()> changed;
    };

    struct Counts {
        std::uint64_t datagrams = 0;  // received, whatever they held
        std::uint64_t stations = 0;   // decodes that placed a station
        std::uint64_t unplaced = 0;   // decodes of a station with no grid and no known country
        std::uint64_t garbage = 0;    // not WSJT-X's, of an unknown schema, or impossible values
        std::uint64_t truncated = 0;  // ended inside a field
        std::uint64_t huge = 0;       // larger than kMaxDatagramBytes
    };

    // What an instance last said of itself, and where it sends from.
    struct Instance {
        QString address;
        quint16 port = 0;
        std::uint32_t schema = 2;  // of its datagrams, which its Reply uses too
        QString myCall;
        QString myGrid;
        QString dxCall;
        QString dxGrid;
        QString mode;                     // "FT8"
        std::uint64_t dialFrequency = 0;  // Hz; 0 before its first Status
        QString band;                     // "20m"; empty when out of the amateur bands
        std::uint64_t lastHeard = 0;      // order of arrival
    };

    WsjtxListener(stations::StationStore& store, Hooks hooks);
    ~WsjtxListener();
    WsjtxListener(const WsjtxListener&) = delete;
    WsjtxListener& operator=(const WsjtxListener&) = delete;

    // Listens on a local address and port, or a multicast group, through the network module
    // (loaded then), after stopping any listening before. Empty when listening, else why not in
    // French.
    QString Listen(const QString& address = QStringLiteral("127.0.0.1"),
                   quint16 port = kWsjtxDefaultPort);
    void Stop();
    bool listening() const { return socket_ != nullptr; }

    // Asks the WSJT-X instance that decoded a station of the store to answer it, as a double
    // click on the decode would (with the keyboard modifiers of the protocol: 0x02 Shift, …).
    // WSJT-X answers only a CQ or a QRZ it still shows. Empty when sent, else why not in French.
    QString SendReply(std::uint64_t stationId, std::uint8_t modifiers = 0);

    // Reads one datagram from address:port; what the socket calls for each.
    void Take(const QByteArray& datagram, const QString& address, quint16 port);

    const Counts& counts() const { return counts_; }
    const std::map<QByteArray, Instance>& instances() const { return instances_; }

  private:
    Instance& Follow(const QByteArray& id, const QString& address, quint16 port,
                     std::uint32_t schema);
    void Place(stations::HeardStation station, const Instance& from);

    stations::StationStore& store_;
    Hooks hooks_;
    std::unique_ptr<QObject> socket_;  // owns the module's socket
    QObject* udp_ = nullptr;
    Counts counts_;
    std::map<QByteArray, Instance> instances_;
    std::uint64_t arrivals_ = 0;
};

}  // namespace orbida::live
