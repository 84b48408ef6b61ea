// The store of stations heard: one entry per source and call, bounded, aged out by the clock it
// is given, a clock set back included.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "stations/station_store.h"

namespace orbida::stations {
namespace {

using std::chrono::minutes;
using std::chrono::seconds;

const Clock::time_point kT0 = Clock::time_point(seconds(1'700'000'000));

HeardStation Station(const char* call, const char* grid = "", double latitude = 45.0) {
    HeardStation s;
    s.call = QString::fromLatin1(call);
    s.grid = QString::fromLatin1(grid);
    s.position = {latitude, -2.0};
    return s;
}

std::string Calls(const StationStore& store) {
    std::string out;
    store.ForEach([&out](std::uint64_t, const HeardStation& s) {
        out += (out.empty() ? "" : " ") + s.call.toStdString();
    });
    return out;
}

TEST(StationStore, UpdatesTheSameSourceAndCallInPlace) {
    StationStore store;
    const std::uint64_t first = store.Hear(Station("k1abc", "FN42", 42.5), kT0);
    ASSERT_NE(first, 0u);
    store.Hear(Station("G4XYZ"), kT0 + seconds(5));
    HeardStation cluster = Station("K1ABC", "", 40.0);
    cluster.source = StationSource::kCluster;
    const std::uint64_t other = store.Hear(cluster, kT0 + seconds(10));
    const std::uint64_t version = store.version();

    // Heard again without a grid: the grid and exact point heard before stay.
    HeardStation again = Station(" K1ABC ", "", 10.0);
    again.approximate = true;
    again.snr = -7;
    EXPECT_EQ(store.Hear(again, kT0 + seconds(15)), first);
    EXPECT_NE(other, first);
    EXPECT_GT(store.version(), version);
    EXPECT_EQ(Calls(store), "K1ABC G4XYZ K1ABC");
    const HeardStation* s = store.Find(first);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->grid, QStringLiteral("FN42"));
    EXPECT_EQ(s->position.latitude, 42.5);
    EXPECT_FALSE(s->approximate);
    EXPECT_EQ(s->snr, -7);
    EXPECT_EQ(s->firstHeard, kT0);
    EXPECT_EQ(s->lastHeard, kT0 + seconds(15));

    // A new grid moves it.
    EXPECT_EQ(store.Hear(Station("K1ABC", "FN31", 41.5), kT0 + seconds(20)), first);
    EXPECT_EQ(store.Find(first)->position.latitude, 41.5);
}

TEST(StationStore, DropsTheStationHeardLongestAgoWhenFull) {
    StationStore store(3);
    store.Hear(Station("A1A"), kT0 + seconds(1));
    store.Hear(Station("B1B"), kT0 + seconds(2));
    store.Hear(Station("C1C"), kT0 + seconds(3));
    store.Hear(Station("A1A"), kT0 + seconds(4));  // B1B is now the oldest heard
    store.Hear(Station("D1D"), kT0 + seconds(5));
    EXPECT_EQ(Calls(store), "A1A C1C D1D");

    StationStore full;
    for (int i = 0; i < 6000; ++i) {
        full.Hear(Station(("K" + std::to_string(i) + "X").c_str()), kT0 + seconds(i));
    }
    EXPECT_EQ(full.size(), StationStore::kDefaultCapacity);
    EXPECT_EQ(Calls(full).substr(0, 10), "K1000X K10");
}

TEST(StationStore, ExpiresAtMaxAgeAndBringsTheFutureBackToNow) {
    const struct {
        const char* what;
        Clock::duration heardBefore;  // how long before the expiry's now; negative: after
        bool kept;
    } cases[] = {
        {"just heard", seconds(0), true},
        {"a second short of the age", minutes(10) - seconds(1), true},
        {"exactly the age", minutes(10), false},
        {"older", minutes(11), false},
        {"from the future", -minutes(60), true},
    };
    for (const auto& c : cases) {
        StationStore store;
        const Clock::time_point now = kT0 + minutes(60);
        const std::uint64_t id = store.Hear(Station("K1ABC"), now - c.heardBefore);
        const std::uint64_t version = store.version();
        EXPECT_EQ(store.Expire(now, kDefaultDecodeMaxAge), c.kept ? 0u : 1u) << c.what;
        EXPECT_EQ(store.Find(id) != nullptr, c.kept) << c.what;
        EXPECT_EQ(store.version() != version, !c.kept || c.heardBefore < seconds(0)) << c.what;
    }

    // Heard an hour ahead of a clock then set back: it lives ten minutes from the set-back, not
    // seventy.
    StationStore store;
    store.Hear(Station("K1ABC"), kT0 + minutes(60));
    store.Hear(Station("G4XYZ"), kT0);
    EXPECT_EQ(store.Expire(kT0 + minutes(1), kDefaultDecodeMaxAge), 0u);
    EXPECT_EQ(store.Expire(kT0 + minutes(10), kDefaultDecodeMaxAge), 1u);
    EXPECT_EQ(Calls(store), "K1ABC");
    EXPECT_EQ(store.Expire(kT0 + minutes(11), kDefaultDecodeMaxAge), 1u);
    EXPECT_EQ(store.size(), 0u);
}

// A source's own age: the decodes go at ten minutes, the spots of the same age stay until thirty.
TEST(StationStore, ExpiresOneSourceAtItsOwnAge) {
    StationStore store;
    HeardStation spot = Station("JA1ABC");
    spot.source = StationSource::kCluster;
    store.Hear(spot, kT0);
    store.Hear(Station("K1ABC"), kT0);
    store.Hear(Station("G4XYZ"), kT0 + minutes(5));
    const Clock::time_point now = kT0 + minutes(12);
    EXPECT_EQ(store.Expire(now, kDefaultSpotMaxAge, StationSource::kCluster), 0u);
    EXPECT_EQ(store.Expire(now, kDefaultDecodeMaxAge, StationSource::kWsjtx), 1u);
    EXPECT_EQ(Calls(store), "JA1ABC G4XYZ");
    EXPECT_EQ(store.Expire(kT0 + minutes(30), kDefaultSpotMaxAge, StationSource::kCluster), 1u);
    EXPECT_EQ(Calls(store), "G4XYZ");
}

TEST(StationStore, RefusesOrCutsHostileInput) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        QString call;
        geodesy::GeoPoint position;
        const char* kept;  // the call kept; nullptr: refused
    } cases[] = {
        {"empty call", QString(), {45, 2}, nullptr},
        {"blank call", QStringLiteral("   "), {45, 2}, nullptr},
        {"latitude NaN", QStringLiteral("K1ABC"), {nan, 2}, nullptr},
        {"latitude 91", QStringLiteral("K1ABC"), {91, 2}, nullptr},
        {"longitude -181", QStringLiteral("K1ABC"), {0, -181}, nullptr},
        {"a pole on the date line", QStringLiteral("K1ABC"), {-90, 180}, "K1ABC"},
        {"a megabyte of call", QString(1 << 20, u'W'), {0, 0}, "WWWWWWWWWWWWWWWWWWWW"},
    };
    for (const auto& c : cases) {
        StationStore store;
        HeardStation s;
        s.call = c.call;
        s.position = c.position;
        s.grid = QString(1000, u'A');
        s.mode = QString(1000, u'M');
        const std::uint64_t id = store.Hear(s, kT0);
        ASSERT_EQ(id != 0, c.kept != nullptr) << c.what;
        if (c.kept) {
            EXPECT_EQ(store.Find(id)->call.toStdString(), c.kept) << c.what;
            EXPECT_EQ(store.Find(id)->grid.size(), StationStore::kMaxGridLength);
            EXPECT_EQ(store.Find(id)->mode.size(), StationStore::kMaxLabelLength);
        } else {
            EXPECT_EQ(store.size(), 0u) << c.what;
        }
    }
}

}  // namespace
}  // namespace orbida::stations
