#include "ui/parts/azimuthal_part.h"
#include "ui/parts/beacon_part.h"
#include "ui/parts/callsign_part.h"
#include "ui/parts/grey_line_part.h"
#include "ui/parts/pin_part.h"
#include "ui/parts/readings_part.h"
#include "ui/parts/rotator_part.h"
#include "ui/parts/settings_part.h"
#include "ui/parts/station_part.h"
#include "ui/parts/stations_part.h"

namespace orbida::ui {

// A new part is added here; its menu entries take their place from MenuPlace.
std::vector<std::unique_ptr<StationPart>> MakeStationParts() {
    std::vector<std::unique_ptr<StationPart>> parts;
    parts.push_back(std::make_unique<ReadingsPart>());
    parts.push_back(std::make_unique<PinPart>());
    parts.push_back(std::make_unique<CallsignPart>());
    parts.push_back(std::make_unique<RotatorPart>());
    parts.push_back(std::make_unique<GreyLinePart>());
    parts.push_back(std::make_unique<AzimuthalPart>());
    parts.push_back(std::make_unique<BeaconPart>());
    parts.push_back(std::make_unique<StationsPart>());
    parts.push_back(std::make_unique<SettingsPart>());
    return parts;
}

}  // namespace orbida::ui
