#pragma once

#include <cmath>
#include <limits>
#include <string>

namespace orbida::geodesy {

// Cuts a value down to hundredths of a degree, towards minus infinity: -2.3522 becomes -2.36.
inline double FloorHundredths(double value) {
    return std::floor(value * 100.0) / 100.0;
}

// Rounds a computed position to the 32-bit float in which control coordinates are held. A value
// beyond float range is clamped and a NaN becomes 0, so that no out-of-range conversion (undefined
// behaviour) and no non-finite coordinate ever reaches a widget.
inline float ToControlFloat(double value) {
    constexpr double kMax = static_cast<double>(std::numeric_limits<float>::max());
    if (std::isnan(value)) {
        return 0.0f;
    }
    if (value > kMax) {
        return std::numeric_limits<float>::max();
    }
    if (value < -kMax) {
        return std::numeric_limits<float>::lowest();
    }
    return static_cast<float>(value);
}

// Writes a whole-valued double in plain decimal, without sign padding or exponent ("5837",
// "-9999"). Values too large for a 64-bit integer are still written in full.
std::string FormatWhole(double value);

}  // namespace orbida::geodesy
