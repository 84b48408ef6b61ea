#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "cities/catalogue.h"
#include "geodesy/geo_point.h"

namespace orbida::cities {

// What the text of the city box stands for.
enum class HomeKind {
    Refused,      // nothing usable; `reason` says why (empty for an empty box)
    City,         // a city of the list: `cityIndex`
    Locator,      // the centre of a Maidenhead square: `point`, `name` is the locator in capitals
    Coordinates,  // a point written with its hemisphere letters: `point`, `name` is the text
    Callsign,     // a station's callsign or a numbered prefix: `name`, in capitals; its country is
                  // looked up by the caller. `reason`, when not empty, is why it does not read
                  // as coordinates ("48N"), to be said if no country fits either.
};

struct HomeEntry {
    HomeKind kind = HomeKind::Refused;
    int cityIndex = -1;
    geodesy::GeoPoint point;  // latitude north positive, longitude WEST positive
    QString name;             // what the reference is called on the window
    QString locator;          // Locator: the square as typed, in capitals
    QString reason;           // Refused (or Callsign): a French sentence for the user
};

// Finds a city of the list from the typed text (trimmed): its index, or -1.
using CityLookup = std::function<int(const QString& typed)>;

// Reads what the user typed in the city box, trying in turn a name (or prefix) of the list through
// findCity, a locator of 4 to 10 characters, then coordinates with their N/S/E/O (or W) letters:
// "48.8566N 2.3522E", "48°51'24\"N 2°21'08\"E", "N 33 52.2, E 151 12.6", then a callsign
// ("3B8CF", "EA8/DL1ABC"): letters, digits and strokes with a letter and a digit among them. A
// locator or coordinates out of range are refused with their reason (a text shaped like a locator
// stays one: "JN18YZ" is a locator mistyped, not a call), as is anything else that is not empty.
HomeEntry ReadHomeEntry(const QString& typed, const CityLookup& findCity);

// The index of the first city of the list whose name is `typed`, or starts with it, compared
// without regard to case or accents; -1 when none does or `typed` is blank.
int FindCityByPrefix(const QStringList& names, const QString& typed);

}  // namespace orbida::cities
