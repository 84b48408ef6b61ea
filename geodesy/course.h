#pragma once

namespace orbida::geodesy {

// Angular distance delta (radians, 0 to pi) between the reference and the cursor, and the course
// angle C (radians, 0 to pi): the unsigned angle at the reference between north and the great
// circle towards the cursor. C = 0 points due north, C = pi due south; east or west is decided by
// the azimuth dial, not here.
struct Course {
    double angularDistance = 0.0;
    double courseAngle = 0.0;
};

// phi1, lambda1: reference latitude and longitude; phi2, lambda2: cursor latitude and longitude;
// all in radians. pi is the program's 4 atan(1). Always returns finite values in [0, pi], also
// where the spherical formulas have no value (see course.cpp).
Course ComputeCourse(double phi1, double lambda1, double phi2, double lambda2, double pi);

}  // namespace orbida::geodesy
