#include <cmath>
#include <cstdio>
#include <string>

#include "geodesy/numbers.h"

namespace orbida::geodesy {

std::string FormatWhole(double value) {
    if (!std::isfinite(value)) {
        return "0";
    }
    if (std::abs(value) < 9.0e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
}

}  // namespace orbida::geodesy
