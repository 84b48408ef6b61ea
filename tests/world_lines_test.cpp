// The coastlines and borders: a blob is decoded to the degree only when it is whole and
// consistent, and the lines built into the program run where the world's coasts and borders are.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <vector>

#include "ui/map/world_lines.h"

namespace orbida::ui {
namespace {

struct RawLine {
    std::uint8_t kind;
    std::vector<std::pair<std::int16_t, std::int16_t>> steps;  // latitude, longitude
};

template <typename T>
void Put(QByteArray& blob, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    blob.append(bytes, sizeof(T));
}

QByteArray Blob(const std::vector<RawLine>& lines) {
    QByteArray blob("TRTS");
    Put<std::uint16_t>(blob, 1);
    Put<std::uint16_t>(blob, 0);
    Put<std::uint32_t>(blob, static_cast<std::uint32_t>(lines.size()));
    std::uint32_t total = 0;
    for (const RawLine& line : lines) {
        total += static_cast<std::uint32_t>(line.steps.size());
    }
    Put<std::uint32_t>(blob, total);
    for (const RawLine& line : lines) {
        Put<std::uint32_t>(blob, static_cast<std::uint32_t>(line.steps.size()));
        Put<std::uint8_t>(blob, line.kind);
        blob.append(3, '\0');
    }
    for (const RawLine& line : lines) {
        for (const auto& [latitude, longitude] : line.steps) {
            Put<std::int16_t>(blob, latitude);
            Put<std::int16_t>(blob, longitude);
        }
    }
    return blob;
}

// A coast from the north pole to 180° E at the equator then to 45° W, and a border.
const std::vector<RawLine> kGood = {
    {0, {{16384, 0}, {0, -32768}, {0, 8192}}},
    {1, {{-8192, 32767}, {-16384, -1}}},
};

TEST(WorldLines, DecodesPointsAndKinds) {
    const std::vector<Polyline> lines = ReadWorldLines(Blob(kGood));
    ASSERT_EQ(lines.size(), 2u);
    const double step = 360.0 / 65536.0;
    EXPECT_EQ(lines[0].kind, LineKind::Coast);
    EXPECT_EQ(lines[0].points,
              (std::vector<geodesy::GeoPoint>{{90.0, 0.0}, {0.0, -180.0}, {0.0, 45.0}}));
    EXPECT_EQ(lines[1].kind, LineKind::Border);
    EXPECT_EQ(lines[1].points,
              (std::vector<geodesy::GeoPoint>{{-45.0, 180.0 - step}, {-90.0, -step}}));
}

// The blob is built into the program, but a damaged one gives no line at all, never a partial or
// misplaced set, and never reads or allocates beyond what it holds.
TEST(WorldLines, RejectsDamagedBlobs) {
    const auto set32 = [](qsizetype at, std::uint32_t value) {
        return [=](QByteArray& b) { qToLittleEndian(value, b.data() + at); };
    };
    const struct {
        const char* name;
        std::function<void(QByteArray&)> damage;
    } cases[] = {
        {"last byte missing", [](QByteArray& b) { b.chop(1); }},
        {"a byte too many", [](QByteArray& b) { b.append('\0'); }},
        {"bad magic", [](QByteArray& b) { b[0] = 'X'; }},
        {"huge line count", set32(8, std::numeric_limits<std::uint32_t>::max())},
        {"huge point count", set32(12, std::numeric_limits<std::uint32_t>::max())},
        // The table and the points no longer agree though the size still does.
        {"line of one point", set32(16, 1)},
        {"huge line", set32(16, std::numeric_limits<std::uint32_t>::max())},
        {"latitude beyond the pole", [](QByteArray& b) { b[32] = 1; }},  // 16385 steps
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray blob = Blob(kGood);
        c.damage(blob);
        EXPECT_TRUE(ReadWorldLines(blob).empty());
    }
}

// Degrees from a point to the nearest segment of the lines of a kind, on a local flat map of
// degrees of latitude (longitudes shrunk by the cosine): exact enough within a degree or two.
double DegreesToLines(const std::vector<Polyline>& lines, LineKind kind, geodesy::GeoPoint p) {
    const double shrink = std::cos(p.latitude * std::numbers::pi / 180.0);
    const auto local = [&](geodesy::GeoPoint q) {
        const double dlon = std::remainder(q.longitude - p.longitude, 360.0);
        return std::pair{dlon * shrink, q.latitude - p.latitude};
    };
    double nearest = std::numeric_limits<double>::infinity();
    for (const Polyline& line : lines) {
        if (line.kind != kind) {
            continue;
        }
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            const geodesy::GeoPoint a = line.points[i - 1];
            const geodesy::GeoPoint b = line.points[i];
            const auto [ax, ay] = local(a);
            // The segment the short way, also across 180°.
            const double dx = std::remainder(b.longitude - a.longitude, 360.0) * shrink;
            const double dy = b.latitude - a.latitude;
            const double length = dx * dx + dy * dy;
            const double t =
                length == 0.0 ? 0.0 : std::clamp(-(ax * dx + ay * dy) / length, 0.0, 1.0);
            nearest = std::min(nearest, std::hypot(ax + t * dx, ay + t * dy));
        }
    }
    return nearest;
}

TEST(WorldLines, ShippedLinesRunAlongTheWorldsCoastsAndBorders) {
    const std::vector<Polyline> lines = WorldLines();
    ASSERT_GT(lines.size(), 1000u);
    // Places from geography, longitudes west positive.
    const struct {
        const char* name;
        LineKind kind;
        geodesy::GeoPoint place;
        double within;  // degrees; a negative value: no such line nearer than its opposite
    } cases[] = {
        // Cape Horn's island is below the scale of the data (its coast is 20 km off): the tip
        // of the mainland instead.
        {"Cabo Froward", LineKind::Coast, {-53.90, 71.30}, 0.1},
        {"Cabo da Roca", LineKind::Coast, {38.78, 9.50}, 0.1},
        {"Canada and the United States on 49° N", LineKind::Border, {49.0, 100.0}, 0.1},
        {"Egypt and Sudan on 22° N", LineKind::Border, {22.0, -30.0}, 0.1},
        {"Madrid, inland", LineKind::Coast, {40.42, 3.70}, -2.0},
        {"mid-Atlantic", LineKind::Coast, {30.0, 40.0}, -5.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double distance = DegreesToLines(lines, c.kind, c.place);
        if (c.within > 0) {
            EXPECT_LT(distance, c.within);
        } else {
            EXPECT_GT(distance, -c.within);
        }
    }
    // The edges that only close the land polygons (along 180° and the South Pole) are no coast.
    for (const Polyline& line : lines) {
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            const geodesy::GeoPoint a = line.points[i - 1];
            const geodesy::GeoPoint b = line.points[i];
            EXPECT_FALSE(std::abs(a.longitude) > 179.99 && std::abs(b.longitude) > 179.99 &&
                         a.latitude != b.latitude)
                << a.latitude << ", " << a.longitude;
            EXPECT_GT(a.latitude, -89.9);
        }
    }
}

}  // namespace
}  // namespace orbida::ui
