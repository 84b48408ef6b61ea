#include "ui/map/world_lines.h"

#include <QFile>
#include <QtEndian>
#include <cstddef>
#include <cstdint>

namespace orbida::ui {
namespace {

constexpr char kMagic[4] = {'T', 'R', 'T', 'S'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kEntrySize = 8;  // per polyline: uint32 points, uint8 kind, 3 bytes 0
constexpr std::size_t kPointSize = 4;  // int16 latitude, int16 longitude
constexpr double kDegreesPerStep = 360.0 / 65536.0;
constexpr int kPoleSteps = 16384;  // 90 degrees

template <typename T>
T At(const char* data, std::size_t offset) {
    return qFromLittleEndian<T>(data + offset);
}

}  // namespace

std::vector<Polyline> ReadWorldLines(QByteArrayView blob) {
    const char* data = blob.data();
    const auto size = static_cast<std::uint64_t>(blob.size());
    if (size < kHeaderSize || QByteArrayView(data, 4) != QByteArrayView(kMagic, 4) ||
        At<std::uint16_t>(data, 4) != kVersion || At<std::uint16_t>(data, 6) != 0) {
        return {};
    }
    // The counts are checked against the size before anything is allocated: a damaged count
    // cannot ask for more than the blob holds. 64 bits hold the largest product of two uint32.
    const std::uint64_t lines = At<std::uint32_t>(data, 8);
    const std::uint64_t points = At<std::uint32_t>(data, 12);
    if (kHeaderSize + kEntrySize * lines + kPointSize * points != size) {
        return {};
    }
    std::uint64_t listed = 0;
    for (std::uint64_t i = 0; i < lines; ++i) {
        const std::size_t entry = kHeaderSize + kEntrySize * i;
        const std::uint32_t count = At<std::uint32_t>(data, entry);
        const auto kind = static_cast<unsigned char>(data[entry + 4]);
        if (count < 2 || kind > 1 || data[entry + 5] != 0 || data[entry + 6] != 0 ||
            data[entry + 7] != 0) {
            return {};
        }
        listed += count;
    }
    if (listed != points) {
        return {};
    }

    std::vector<Polyline> result(static_cast<std::size_t>(lines));
    std::size_t at = kHeaderSize + kEntrySize * lines;
    for (std::size_t i = 0; i < result.size(); ++i) {
        const std::size_t entry = kHeaderSize + kEntrySize * i;
        Polyline& line = result[i];
        line.kind = data[entry + 4] == 0 ? LineKind::Coast : LineKind::Border;
        const std::uint32_t count = At<std::uint32_t>(data, entry);
        line.points.reserve(count);
        for (std::uint32_t n = 0; n < count; ++n, at += kPointSize) {
            const int latitude = At<std::int16_t>(data, at);
            const int longitude = At<std::int16_t>(data, at + 2);
            if (latitude < -kPoleSteps || latitude > kPoleSteps) {
                return {};
            }
            line.points.push_back({latitude * kDegreesPerStep, longitude * kDegreesPerStep});
        }
    }
    return result;
}

std::vector<Polyline> WorldLines() {
    QFile file(QStringLiteral(":/orbida/traits.bin"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return ReadWorldLines(file.readAll());
}

}  // namespace orbida::ui
