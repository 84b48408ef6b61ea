#include "cities/selection.h"

#include <cmath>

#include "cities/coordinate_text.h"
#include "geodesy/numbers.h"
#include "geodesy/projection.h"

namespace orbida::cities {
namespace {

// Half the side of the marker square, so that it is centred on the city.
constexpr double kMarkerHalfSide = 70.0;

// A value counts only if it and its cut to hundredths are finite: 1e307 is finite, but 1e307 x 100
// is not, and the hundredths feed the distance and the locator.
bool Usable(double value) {
    return std::isfinite(value) && std::isfinite(geodesy::FloorHundredths(value));
}

}  // namespace

ReferenceState StartupReference() {
    ReferenceState state;
    state.locator = MaidenheadLocator(0.0, 0.0);  // "JJ00AA"
    return state;
}

// The order follows the window's own: longitude before latitude for the marker, the texts and the
// hundredths. Coordinates out of their ranges are kept, as written: the marker then lies off the
// visible map. A city whose two coordinates are not in the list (a malformed file) or do not read
// as usable numbers ("1e999") is not selected at all, so no infinity reaches the widgets and the
// previous reference stays whole, connection flag included.
std::optional<ReferenceState> SelectCity(const Catalogue& catalogue, int index,
                                         const ReferenceState& current, ConnectionReport connection,
                                         float mapWidth, float mapHeight) {
    if (index < 0 || index >= catalogue.NameCount()) {
        return std::nullopt;
    }
    const qsizetype first = 2 * static_cast<qsizetype>(index);
    if (first + 1 >= catalogue.CoordinateCount()) {
        return std::nullopt;
    }
    const geodesy::GeoPoint point{catalogue.Coordinate(first), catalogue.Coordinate(first + 1)};
    return SelectPoint(point, catalogue.Name(index).toUpper(), QString(), current, connection,
                       mapWidth, mapHeight);
}

std::optional<ReferenceState> SelectPoint(geodesy::GeoPoint point, const QString& name,
                                          const QString& locatorText, const ReferenceState& current,
                                          ConnectionReport connection, float mapWidth,
                                          float mapHeight) {
    if (!Usable(point.latitude) || !Usable(point.longitude)) {
        return std::nullopt;
    }

    ReferenceState state;
    state.referencePoint = point;
    const geodesy::MapPosition centre = geodesy::DegreesToMap(point, mapWidth, mapHeight);
    state.entoureLeft = geodesy::ToControlFloat(centre.x - kMarkerHalfSide);
    state.entoureTop = geodesy::ToControlFloat(centre.y - kMarkerHalfSide);
    state.longitudeText =
        FormatDms(point.longitude, QStringLiteral(" Ouest"), QStringLiteral(" Est"));
    state.latitudeText = FormatDms(point.latitude, QStringLiteral(" Nord"), QStringLiteral(" Sud"));
    state.referenceHundredths.longitude = geodesy::FloorHundredths(point.longitude);
    state.referenceHundredths.latitude = geodesy::FloorHundredths(point.latitude);
    // From the point as written: cut to hundredths, an east longitude moves east and a city on
    // a square's west edge (Abidjan, 4.0017 W) would show the square east of it.
    state.locator = MaidenheadLocator(point.latitude, point.longitude);
    if (!locatorText.isEmpty()) {
        const QString shown = locatorText.left(6).toUpper();
        state.locator.text = shown;
        for (qsizetype i = 0; i < 6; ++i) {
            state.locator.cells[static_cast<std::size_t>(i)] =
                i < shown.size() ? QString(shown[i]) : QString();
        }
    }
    state.cityName = name;
    state.citySelected = true;
    state.internetConnected = current.internetConnected || connection.viaLan || connection.online;
    return state;
}

}  // namespace orbida::cities
