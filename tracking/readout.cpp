#include "tracking/readout.h"

#include <string_view>

#include "geodesy/dms.h"
#include "geodesy/numbers.h"

namespace orbida::tracking {
namespace {

std::string FormatReadout(std::string_view prefix, double value, double edge,
                          std::string_view positiveWord, std::string_view negativeWord) {
    geodesy::Dms dms = geodesy::SplitDms(value);
    if (dms.degrees == edge) {
        dms.minutes = 0;
        dms.seconds = 0;
    }
    std::string text;
    text.reserve(48);
    text += prefix;
    text += geodesy::FormatWhole(dms.degrees);
    text += "°  ";
    text += std::to_string(dms.minutes);
    text += "'  ";
    text += std::to_string(dms.seconds);
    text += "'' ";
    text += value < 0.0 ? negativeWord : positiveWord;
    return text;
}

}  // namespace

std::string FormatLongitudeReadout(double longitude) {
    return FormatReadout("Longitude: ", longitude, 180.0, "Ouest", "Est");
}

std::string FormatLatitudeReadout(double latitude) {
    return FormatReadout("Latitude: ", latitude, 90.0, "Nord", "Sud");
}

}  // namespace orbida::tracking
