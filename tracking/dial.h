#pragma once

#include <string>

namespace orbida::tracking {

// The azimuth dial: the whole-degree azimuth (0 to 360 inclusive), its label text ("292 °") and
// the free end of the needle, in twips inside the dial's frame. The needle's fixed end stays at
// (2040, 600); the free end lies on a circle of radius 300 around (2040, 580).
struct Dial {
    double azimuth = 0.0;
    // The same azimuth unrounded, 0 ≤ course < 360: what an antenna is turned to.
    double course = 0.0;
    std::string text;
    float needleX2 = 0.0f;
    float needleY2 = 0.0f;
};

inline constexpr float kNeedleX1 = 2040.0f;
inline constexpr float kNeedleY1 = 600.0f;

// courseAngle: radians, 0 to pi. cursorLonRad, referenceLonRad: longitudes in radians, west
// positive; the sign of their difference, the shorter way round, decides east from west.
Dial ComputeDial(double courseAngle, double cursorLonRad, double referenceLonRad, double pi,
                 double degToRad);

}  // namespace orbida::tracking
