#pragma once

#include <QByteArrayView>
#include <vector>

#include "geodesy/geo_point.h"

namespace orbida::ui {

// What a line of the world is: the edge of the land, or a boundary between two countries.
enum class LineKind { Coast, Border };

// One line of the world, drawn through a map's projection.
struct Polyline {
    LineKind kind = LineKind::Coast;
    // Two points or more, latitude north and longitude WEST positive, degrees, within 0.003° of
    // the source data. Two consecutive points may lie on either side of 180°: the line between
    // them is the short way across.
    std::vector<geodesy::GeoPoint> points;
};

// The lines held in a blob written by tools/make-lines.mjs (its header gives the layout). A blob
// that is not exactly one such file, a wrong magic or version, counts that do not match its size
// or each other, a latitude beyond a pole or an unknown kind, gives no line at all: a damaged
// file draws nothing rather than lines in wrong places.
std::vector<Polyline> ReadWorldLines(QByteArrayView blob);

// The coastlines and country borders built into the program (ui/resources/traits.bin), about
// 80,000 points. Each call reads and decodes them again: keep the result.
std::vector<Polyline> WorldLines();

}  // namespace orbida::ui
