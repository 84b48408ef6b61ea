#pragma once

#include <string>

namespace orbida::tracking {

// The cursor readouts: "Longitude: 2°  21'  0'' Est", "Latitude: 48°  51'  0'' Nord". Zero reads
// "Ouest" and "Nord". At the map's edges (180 degrees of longitude, 90 of latitude) the minutes
// and seconds read 0.
std::string FormatLongitudeReadout(double longitude);
std::string FormatLatitudeReadout(double latitude);

}  // namespace orbida::tracking
