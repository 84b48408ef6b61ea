#include "live/wsjtx_listener.h"

#include <QCoreApplication>
#include <algorithm>
#include <string>
#include <variant>

#include "geodesy/locator.h"
#include "rotator/network.h"
#include "stations/cluster_line.h"
#include "stations/decoded_station.h"
#include "stations/wsjtx_message.h"

namespace orbida::live {
namespace {

namespace wsjtx = stations::wsjtx;
namespace network = rotator::network;

QString Band(std::uint64_t hertz) {
    const std::string_view band = stations::cluster::BandOf(static_cast<double>(hertz) / 1000.0);
    return QString::fromLatin1(band.data(), static_cast<qsizetype>(band.size()));
}

}  // namespace

WsjtxListener::WsjtxListener(stations::StationStore& store, Hooks hooks)
    : store_(store), hooks_(std::move(hooks)) {
    if (!hooks_.now) {
        hooks_.now = [] { return stations::Clock::now(); };
    }
}

WsjtxListener::~WsjtxListener() = default;

QString WsjtxListener::Listen(const QString& address, quint16 port) {
    Stop();
    QString why;
    const network::Functions* functions = network::Load(&why);
    if (functions == nullptr) {
        return why;
    }
    auto owner = std::make_unique<QObject>();
    QObject* socket = functions->newUdp(
        owner.get(), {[this](const QString& from, quint16 fromPort, const QByteArray& bytes) {
            Take(bytes, from, fromPort);
        }});
    why = functions->bindUdp(socket, address, port);
    if (!why.isEmpty()) {
        return why;
    }
    socket_ = std::move(owner);
    udp_ = socket;
    return {};
}

void WsjtxListener::Stop() {
    udp_ = nullptr;
    socket_.reset();
}

QString WsjtxListener::SendReply(std::uint64_t stationId, std::uint8_t modifiers) {
    const stations::HeardStation* station = store_.Find(stationId);
    if (station == nullptr) {
        return QCoreApplication::translate("WsjtxListener", "station disparue");
    }
    if (station->source != stations::StationSource::kWsjtx || !station->decode) {
        return QCoreApplication::translate("WsjtxListener", "station non décodée par WSJT-X");
    }
    if (station->kind != stations::StationKind::kCq &&
        station->kind != stations::StationKind::kCqDirected) {
        return QCoreApplication::translate("WsjtxListener",
                                           "WSJT-X ne répond qu'à un CQ ou un QRZ");
    }
    const auto instance = instances_.find(station->instance);
    if (instance == instances_.end()) {
        return QCoreApplication::translate("WsjtxListener", "WSJT-X « %1 » fermé")
            .arg(QString::fromUtf8(station->instance));
    }
    if (socket_ == nullptr) {
        return QCoreApplication::translate("WsjtxListener", "réception de WSJT-X arrêtée");
    }
    wsjtx::Message reply;
    reply.schema = std::min(instance->second.schema, wsjtx::kSchema);
    reply.id = station->instance;
    reply.body = wsjtx::ReplyTo(*station->decode, modifiers);
    // The module is loaded: the socket came from it.
    return network::Load(nullptr)->sendUdp(udp_, instance->second.address, instance->second.port,
                                           wsjtx::Encode(reply));
}

WsjtxListener::Instance& WsjtxListener::Follow(const QByteArray& id, const QString& address,
                                               quint16 port, std::uint32_t schema) {
    if (!instances_.contains(id) && instances_.size() >= kMaxInstances) {
        instances_.erase(std::min_element(
            instances_.begin(), instances_.end(),
            [](const auto& a, const auto& b) { return a.second.lastHeard < b.second.lastHeard; }));
    }
    Instance& instance = instances_[id];
    instance.address = address;
    instance.port = port;
    instance.schema = schema;
    instance.lastHeard = ++arrivals_;
    return instance;
}

void WsjtxListener::Place(stations::HeardStation station, const Instance& from) {
    std::optional<geodesy::GeoPoint> position;
    if (!station.grid.isEmpty()) {
        position = geodesy::LocatorCentre(station.grid.toStdString());
    }
    if (!position && hooks_.countryPosition) {
        position = hooks_.countryPosition(station.call);
        station.approximate = true;
    }
    if (!position) {
        ++counts_.unplaced;
        return;
    }
    station.position = *position;
    station.source = stations::StationSource::kWsjtx;
    if (station.mode.isEmpty()) {
        station.mode = from.mode;
    }
    if (store_.Hear(std::move(station), hooks_.now()) != 0) {
        ++counts_.stations;
    }
}

void WsjtxListener::Take(const QByteArray& datagram, const QString& address, quint16 port) {
    ++counts_.datagrams;
    if (datagram.size() > kMaxDatagramBytes) {
        ++counts_.huge;
        return;
    }
    const wsjtx::Parsed parsed = wsjtx::Parse(datagram);
    if (parsed.failure == wsjtx::Failure::kTruncated) {
        ++counts_.truncated;
        return;
    }
    if (!parsed.ok()) {
        ++counts_.garbage;
        return;
    }
    const wsjtx::Message& message = parsed.message;
    const auto* clear = std::get_if<wsjtx::Clear>(&message.body);
    // Messages to WSJT-X, not from it: another program's, seen on a multicast group.
    if (std::holds_alternative<wsjtx::Other>(message.body) ||
        std::holds_alternative<wsjtx::Reply>(message.body) || (clear && clear->window)) {
        return;
    }
    if (std::holds_alternative<wsjtx::Close>(message.body)) {
        instances_.erase(message.id);
        return;
    }
    const std::uint64_t version = store_.version();
    Instance& instance = Follow(message.id, address, port, message.schema);
    bool dxChanged = false;
    if (const auto* status = std::get_if<wsjtx::Status>(&message.body)) {
        dxChanged = instance.dxCall != QString::fromUtf8(status->dxCall) ||
                    instance.dxGrid != QString::fromUtf8(status->dxGrid);
        instance.myCall = QString::fromUtf8(status->deCall);
        instance.myGrid = QString::fromUtf8(status->deGrid);
        instance.dxCall = QString::fromUtf8(status->dxCall);
        instance.dxGrid = QString::fromUtf8(status->dxGrid);
        instance.mode = QString::fromUtf8(status->mode);
        instance.dialFrequency = status->dialFrequency;
        instance.band = Band(status->dialFrequency);
    } else if (const auto* decode = std::get_if<wsjtx::Decode>(&message.body)) {
        if (const auto named = stations::StationFromDecode(*decode, instance.myCall)) {
            stations::HeardStation station;
            station.call = named->call;
            station.grid = named->grid;
            station.kind = named->kind;
            station.band = instance.band;
            if (instance.dialFrequency != 0) {
                station.frequency = instance.dialFrequency + decode->deltaFrequency;
            }
            station.snr = decode->snr;
            station.instance = message.id;
            station.decode = *decode;
            Place(std::move(station), instance);
        }
    } else if (const auto* wspr = std::get_if<wsjtx::WsprDecode>(&message.body)) {
        if (const auto named = stations::StationFromWspr(*wspr)) {
            stations::HeardStation station;
            station.call = named->call;
            station.grid = named->grid;
            station.kind = named->kind;
            station.frequency = wspr->frequency;
            station.band = Band(wspr->frequency);
            station.mode = QStringLiteral("WSPR");
            station.snr = wspr->snr;
            station.instance = message.id;
            Place(std::move(station), instance);
        }
    } else if (clear) {
        store_.RemoveInstance(stations::StationSource::kWsjtx, message.id);
    }
    if ((store_.version() != version || dxChanged) && hooks_.changed) {
        hooks_.changed();
    }
}

}  // namespace orbida::live
