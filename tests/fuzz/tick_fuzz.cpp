// Fuzz target: random and extreme inputs (NaN, infinities, 1e308, huge pointer coordinates, maps
// of zero size) into one tracking tick. Built with the sanitizers, so any undefined behaviour
// stops the run; a non-finite value in the frame stops it too.
// Run it with `make fuzz`.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>

#include "fuzz_check.h"
#include "tracking/tick.h"

namespace {

using orbida::fuzz::Check;
using orbida::tracking::TickFrame;
using orbida::tracking::TickInput;

// Mostly awkward values, sometimes arbitrary bit patterns.
double PickDouble(FuzzedDataProvider& data) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    static constexpr double kAwkward[] = {0.0,    -0.0,   0.01, 15.0, 90.0,  -90.0,
                                          180.0,  -180.0, 9630, 4815, 1e308, -1e308,
                                          1e-308, inf,    -inf, nan,  5e-324};
    if (data.ConsumeBool()) {
        return kAwkward[data.ConsumeIntegralInRange<std::size_t>(0, std::size(kAwkward) - 1)];
    }
    return data.ConsumeFloatingPoint<double>();
}

float PickFloat(FuzzedDataProvider& data) {
    const double d = PickDouble(data);
    if (std::isnan(d)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    if (std::abs(d) > static_cast<double>(std::numeric_limits<float>::max())) {
        return d > 0 ? std::numeric_limits<float>::infinity()
                     : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(d);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    TickInput in;
    in.cursorX = data.ConsumeIntegral<std::int32_t>();
    in.cursorY = data.ConsumeIntegral<std::int32_t>();
    in.twipsPerPixelX = PickFloat(data);
    in.twipsPerPixelY = PickFloat(data);
    in.windowLeft = PickFloat(data);
    in.windowTop = PickFloat(data);
    in.mapLeft = PickFloat(data);
    in.mapTop = PickFloat(data);
    in.mapWidth = PickFloat(data);
    in.mapHeight = PickFloat(data);
    in.entoureLeft = PickFloat(data);
    in.referencePoint = {PickDouble(data), PickDouble(data)};
    in.referenceHundredths = {PickDouble(data), PickDouble(data)};
    in.pi = data.ConsumeBool() ? orbida::tracking::ComputePi() : PickDouble(data);
    in.degToRad = data.ConsumeBool() ? orbida::tracking::ComputeDegToRad(in.pi) : PickDouble(data);
    in.internetConnected = data.ConsumeBool();
    in.unit = static_cast<orbida::tracking::DistanceUnit>(data.ConsumeIntegralInRange<int>(0, 2));
    in.longRoute = data.ConsumeBool();
    if (data.ConsumeBool()) {
        in.pinnedPoint = orbida::geodesy::GeoPoint{PickDouble(data), PickDouble(data)};
    }

    const TickFrame f = orbida::tracking::ComputeTick(in);
    for (double v : {f.map.x, f.map.y, f.cursorPoint.latitude, f.cursorPoint.longitude,
                     f.distanceKm, f.referencePoint.latitude, f.referencePoint.longitude,
                     f.angularDistance, f.courseAngle, f.dial.azimuth, f.longDistanceKm}) {
        Check(std::isfinite(v));
    }
    for (float v : {f.crosshairX, f.crosshairY, f.dial.needleX2, f.dial.needleY2, f.longNeedleX2,
                    f.longNeedleY2}) {
        Check(std::isfinite(v));
    }
    for (const auto& point : f.longRoute.points) {
        Check(std::isfinite(point.latitude) && std::isfinite(point.longitude));
    }
    Check(std::isfinite(f.exactPoint.latitude) && std::isfinite(f.exactPoint.longitude));
    Check(f.longAzimuth >= 0.0 && f.longAzimuth < 360.0);
    Check(!f.tracking || f.targetLocator.size() == 6);
    for (const auto& dot : f.dots.dots) {
        Check(std::isfinite(dot.top) && std::isfinite(dot.left));
    }
    Check(f.referencePoint.latitude != 0.0 && f.referencePoint.longitude != 0.0);
    Check(f.dial.azimuth >= 0.0 && f.dial.azimuth <= 360.0);
    Check(!f.tracking || !f.distanceText.empty());
    return 0;
}
