#include "platform/sim/sky/dish_geometry.h"

#include <cmath>
#include <numbers>

namespace sim {
namespace {

struct Vector {
  double x, y, z;
};

Vector operator-(Vector a, Vector b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot(Vector a, Vector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vector Cross(Vector a, Vector b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Length(Vector a) { return std::sqrt(Dot(a, a)); }

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// A point of the equatorial plane on the arc, in Earth-centred coordinates.
Vector OnTheArc(double longitudeDeg) {
  return {kGeostationaryRadiusKm * std::cos(Radians(longitudeDeg)), kGeostationaryRadiusKm * std::sin(Radians(longitudeDeg)),
          0.0};
}

}  // namespace

std::optional<double> MotorAngleTo(const Site& site, double orbitalEastDeg) {
  const double lat = Radians(site.latitude);
  const double lon = Radians(site.longitude);
  const Vector ground{kEarthRadiusKm * std::cos(lat) * std::cos(lon), kEarthRadiusKm * std::cos(lat) * std::sin(lon),
                      kEarthRadiusKm * std::sin(lat)};
  const Vector toSatellite = OnTheArc(orbitalEastDeg) - ground;
  if (Dot(toSatellite, ground) <= 0) return std::nullopt;  // at or below the horizon
  const Vector toReference = OnTheArc(site.longitude) - ground;
  const double angle =
      std::atan2(Length(Cross(toSatellite, toReference)), Dot(toSatellite, toReference)) * 180.0 / std::numbers::pi;
  const bool west = std::sin(Radians(orbitalEastDeg - site.longitude)) < 0;
  const bool positive = site.latitude >= 0 ? west : !west;
  return positive ? angle : -angle;
}

}  // namespace sim
