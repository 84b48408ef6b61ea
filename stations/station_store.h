#pragma once

// The stations heard lately, from every source that names stations (WSJT-X's decodes now; DX
// cluster spots later), in one bounded store that the maps draw from.
//
// The store never reads a clock: every call that needs the time is given it, so that the caller
// decides (the window's clock, a test's). It holds no timer either: whoever shows the stations
// calls Expire while they are shown.
#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "geodesy/geo_point.h"
#include "stations/decoded_station.h"
#include "stations/wsjtx_message.h"

namespace orbida::stations {

using Clock = std::chrono::system_clock;

enum class StationSource { kWsjtx, kCluster };

struct HeardStation {
    StationSource source = StationSource::kWsjtx;
    QString call;                 // never empty in the store
    QString grid;                 // empty when none was heard
    geodesy::GeoPoint position;   // longitude WEST positive
    bool approximate = false;     // the country's point, for want of a grid
    QString band;                 // "20m"; empty when unknown
    std::uint64_t frequency = 0;  // Hz; 0 when unknown
    QString mode;
    std::optional<int> snr;  // dB
    StationKind kind = StationKind::kOther;
    // What a WSJT-X Reply needs: the instance that decoded the station and that decode.
    QByteArray instance;
    std::optional<wsjtx::Decode> decode;
    Clock::time_point firstHeard;
    Clock::time_point lastHeard;
};

class StationStore {
  public:
    static constexpr std::size_t kDefaultCapacity = 5000;
    // Longest call, grid, band and mode kept; longer texts are cut. The longest real call with
    // a prefix and a suffix ("VP2E/K1ABC/MM") is far shorter.
    static constexpr qsizetype kMaxCallLength = 20;
    static constexpr qsizetype kMaxGridLength = 10;
    static constexpr qsizetype kMaxLabelLength = 16;

    explicit StationStore(std::size_t capacity = kDefaultCapacity);

    // Records a station heard at `now`. A station of the same source and call (letter case
    // aside) is updated in place and keeps its id and first time heard; a report without a
    // grid keeps the grid and exact position heard before. When the store is full, the station
    // heard longest ago makes room. Returns the station's id, or 0 when refused: no call, or a
    // position off the globe.
    std::uint64_t Hear(HeardStation station, Clock::time_point now);

    // Drops the stations last heard maxAge or more before `now`. A station heard "after" now
    // (the clock was set back) counts as heard now: it then lives maxAge more, never until the
    // clock catches up with it. Returns how many were dropped.
    std::size_t Expire(Clock::time_point now, Clock::duration maxAge);

    // The same for the stations of one source only (a spot lives longer than a decode).
    std::size_t Expire(Clock::time_point now, Clock::duration maxAge, StationSource source);

    // Drops the stations of one WSJT-X instance (its Band Activity was erased).
    std::size_t RemoveInstance(StationSource source, const QByteArray& instance);

    const HeardStation* Find(std::uint64_t id) const;
    std::size_t size() const { return byId_.size(); }
    // Changes whenever a station is added, changed or dropped: a view redraws when it differs.
    std::uint64_t version() const { return version_; }

    // Calls f(id, station) for every station, in the order they were first heard.
    template <typename F>
    void ForEach(F&& f) const {
        for (const auto& [id, station] : byId_) {
            f(id, station);
        }
    }

  private:
    using Key = std::pair<StationSource, QString>;
    using Age = std::pair<Clock::time_point, std::uint64_t>;  // last heard, id

    void Drop(std::map<std::uint64_t, HeardStation>::iterator it);

    std::size_t capacity_;
    std::uint64_t nextId_ = 1;
    std::uint64_t version_ = 0;
    std::map<std::uint64_t, HeardStation> byId_;  // ids grow: this is the order first heard
    std::map<Key, std::uint64_t> byKey_;
    std::set<Age> byAge_;
};

// The default time a decoded station stays on the map after it was last heard.
inline constexpr std::chrono::minutes kDefaultDecodeMaxAge{10};
// And a DX cluster spot.
inline constexpr std::chrono::minutes kDefaultSpotMaxAge{30};

}  // namespace orbida::stations
