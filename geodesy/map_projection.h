#pragma once

#include <cstdint>
#include <optional>

#include "geodesy/geo_point.h"

namespace orbida::geodesy {

struct WorldPicture;

// A point in a map's own plane: x to the right, y downwards, in the projection's unit.
struct PlanePoint {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const PlanePoint&, const PlanePoint&) = default;
};

// How a map lays the globe on its plane: a geographic point (latitude north positive, longitude
// WEST positive, degrees) to a point of the plane and back. What is drawn over a map goes through
// its projection and never needs to know which one it is.
class MapProjection {
  public:
    virtual ~MapProjection() = default;
    // The point's place on the plane; std::nullopt for a point that is not on the globe.
    virtual std::optional<PlanePoint> Forward(GeoPoint point) const = 0;
    // The geographic point at a place of the plane; std::nullopt where the map shows no point.
    virtual std::optional<GeoPoint> Inverse(PlanePoint place) const = 0;
};

// The world map: plate carrée in twips of a control of the given size, 180 W on its left edge
// and 90 N on its top edge, exactly the arithmetic that places the route's marks.
class Equirectangular final : public MapProjection {
  public:
    Equirectangular(double width, double height) : width_(width), height_(height) {}
    std::optional<PlanePoint> Forward(GeoPoint point) const override;
    std::optional<GeoPoint> Inverse(PlanePoint place) const override;
    double Width() const { return width_; }
    double Height() const { return height_; }

  private:
    double width_;
    double height_;
};

// Azimuthal equidistant on a sphere of the program's circumference (40,030.218 km), centred on
// a point: every straight line from the centre is a great circle, its direction the initial
// azimuth and its length the distance, in kilometres (x east, y south). The whole globe lies
// within a disc of radius 20,015.109 km; its rim is the centre's antipode.
// - Exact everywhere, the centre itself, the poles and across 180 degrees included.
// - The antipode has every direction at once: Forward puts it due south of the centre, on the
//   rim; Inverse gives it for every point of the rim.
// - Beyond the rim, Inverse gives std::nullopt.
class AzimuthalEquidistant final : public MapProjection {
  public:
    explicit AzimuthalEquidistant(GeoPoint centre);
    std::optional<PlanePoint> Forward(GeoPoint point) const override;
    std::optional<GeoPoint> Inverse(PlanePoint place) const override;

    static constexpr double kRadiusKm = 40030.218 / (2.0 * 3.14159265358979323846);
    static constexpr double kRimKm = 40030.218 / 2.0;

  private:
    friend void DrawAzimuthalPicture(const AzimuthalEquidistant&, PlanePoint, double, int, int,
                                     WorldPicture, std::uint32_t, std::uint32_t*);
    // The centre and the unit vectors east and north of it, in Earth-centred coordinates.
    double p_[3];
    double east_[3];
    double north_[3];
};

}  // namespace orbida::geodesy
