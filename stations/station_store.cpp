#include "stations/station_store.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace orbida::stations {
namespace {

void Cap(QString& text, qsizetype length) {
    if (text.size() > length) {
        text.truncate(length);
    }
}

bool OnTheGlobe(const geodesy::GeoPoint& p) {
    return std::isfinite(p.latitude) && std::isfinite(p.longitude) &&
           std::abs(p.latitude) <= 90.0 && std::abs(p.longitude) <= 180.0;
}

}  // namespace

StationStore::StationStore(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

std::uint64_t StationStore::Hear(HeardStation station, Clock::time_point now) {
    station.call = station.call.trimmed().toUpper();
    Cap(station.call, kMaxCallLength);
    Cap(station.grid, kMaxGridLength);
    Cap(station.band, kMaxLabelLength);
    Cap(station.mode, kMaxLabelLength);
    if (station.call.isEmpty() || !OnTheGlobe(station.position)) {
        return 0;
    }
    station.lastHeard = now;
    const Key key{station.source, station.call};
    ++version_;
    if (const auto found = byKey_.find(key); found != byKey_.end()) {
        const std::uint64_t id = found->second;
        HeardStation& old = byId_.at(id);
        station.firstHeard = std::min(old.firstHeard, now);
        // A report without a grid (a signal report, a 73) says nothing new about where.
        if (station.grid.isEmpty() && !old.grid.isEmpty()) {
            station.grid = old.grid;
            station.position = old.position;
            station.approximate = old.approximate;
        }
        byAge_.erase({old.lastHeard, id});
        old = std::move(station);
        byAge_.insert({old.lastHeard, id});
        return id;
    }
    while (byId_.size() >= capacity_) {
        Drop(byId_.find(byAge_.begin()->second));
    }
    const std::uint64_t id = nextId_++;
    station.firstHeard = now;
    byAge_.insert({now, id});
    byKey_.emplace(key, id);
    byId_.emplace(id, std::move(station));
    return id;
}

std::size_t StationStore::Expire(Clock::time_point now, Clock::duration maxAge) {
    // Stations from the future, latest first in byAge_, are brought back to now.
    while (!byAge_.empty() && std::prev(byAge_.end())->first > now) {
        const std::uint64_t id = std::prev(byAge_.end())->second;
        HeardStation& station = byId_.at(id);
        byAge_.erase(std::prev(byAge_.end()));
        station.lastHeard = now;
        station.firstHeard = std::min(station.firstHeard, now);
        byAge_.insert({now, id});
        ++version_;
    }
    std::size_t dropped = 0;
    while (!byAge_.empty() && now - byAge_.begin()->first >= maxAge) {
        Drop(byId_.find(byAge_.begin()->second));
        ++dropped;
    }
    return dropped;
}

std::size_t StationStore::Expire(Clock::time_point now, Clock::duration maxAge,
                                 StationSource source) {
    Expire(now, Clock::duration::max());  // brings stations from the future back to now
    std::size_t dropped = 0;
    for (auto it = byAge_.begin(); it != byAge_.end() && now - it->first >= maxAge;) {
        const auto next = std::next(it);
        const auto station = byId_.find(it->second);
        if (station->second.source == source) {
            Drop(station);
            ++dropped;
        }
        it = next;
    }
    return dropped;
}

std::size_t StationStore::RemoveInstance(StationSource source, const QByteArray& instance) {
    std::size_t dropped = 0;
    for (auto it = byId_.begin(); it != byId_.end();) {
        const auto next = std::next(it);
        if (it->second.source == source && it->second.instance == instance) {
            Drop(it);
            ++dropped;
        }
        it = next;
    }
    return dropped;
}

const HeardStation* StationStore::Find(std::uint64_t id) const {
    const auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : &it->second;
}

void StationStore::Drop(std::map<std::uint64_t, HeardStation>::iterator it) {
    byAge_.erase({it->second.lastHeard, it->first});
    byKey_.erase({it->second.source, it->second.call});
    byId_.erase(it);
    ++version_;
}

}  // namespace orbida::stations
