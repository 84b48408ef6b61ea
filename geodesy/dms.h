#pragma once

namespace orbida::geodesy {

// Whole degrees, minutes and seconds of a non-negative angle in degrees. The seconds are rounded
// half away from zero; a rounding that reaches 60 seconds is carried into the minutes, and 60
// minutes into the degrees, so 1.15 reads 1 9' 0'' and never 1 8' 60''.
struct Dms {
    double degrees = 0.0;  // whole-valued, may exceed the int range for absurd input
    int minutes = 0;
    int seconds = 0;
};

Dms SplitDms(double magnitude);

}  // namespace orbida::geodesy
