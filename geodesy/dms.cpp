#include "geodesy/dms.h"

#include <cmath>

namespace orbida::geodesy {

Dms SplitDms(double magnitude) {
    Dms out;
    if (!std::isfinite(magnitude)) {
        return out;
    }
    const double a = std::abs(magnitude);
    out.degrees = std::floor(a);
    const double mf = (a - out.degrees) * 60.0;
    const double m = std::floor(mf);
    const double s = std::round((mf - m) * 60.0);  // halves away from zero
    // mf lies in [0, 60) and s in [0, 60], so both conversions are in range.
    out.minutes = static_cast<int>(m);
    out.seconds = static_cast<int>(s);
    if (out.seconds >= 60) {
        out.seconds -= 60;
        ++out.minutes;
    }
    if (out.minutes >= 60) {
        out.minutes -= 60;
        out.degrees += 1.0;
    }
    return out;
}

}  // namespace orbida::geodesy
