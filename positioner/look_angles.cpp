#include "positioner/look_angles.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace usals {
namespace {

constexpr double kEarthRadiusKm = 6378.0;
constexpr double kOrbitRadiusKm = 42164.0;
constexpr double kRatio = kEarthRadiusKm / kOrbitRadiusKm;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }
double Degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// Satellite minus site, in (-180, 180]: a site at 179E sees 177W 4 degrees east.
double LongitudeDifference(double satelliteEast, double longitude) {
  double g = std::fmod(satelliteEast - longitude + 180.0, 360.0);
  if (g < 0) g += 360.0;
  return g - 180.0;
}

}  // namespace

LookAngles ComputeLookAngles(double latitude, double longitude, double satelliteEast) {
  const double g = Radians(LongitudeDifference(satelliteEast, longitude));
  const double l = Radians(latitude);
  const double c = std::cos(g) * std::cos(l);  // cosine of the Earth-central angle
  LookAngles angles;
  angles.elevationDeg = Degrees(std::atan2(c - kRatio, std::sqrt(std::fmax(0.0, 1.0 - c * c))));
  const double east = std::sin(g);
  const double north = -std::sin(l) * std::cos(g);
  if (std::fabs(east) < 1e-12 && std::fabs(north) < 1e-12) return angles;  // overhead
  angles.azimuthDeg = Degrees(std::atan2(east, north));
  if (angles.azimuthDeg < 0) angles.azimuthDeg += 360.0;
  // The exact spherical form; it tends to atan(sin G / tan L) far from the satellite.
  const double across = east * std::sqrt(1.0 + kRatio * kRatio - 2.0 * kRatio * c);
  const double along = std::tan(l) * (1.0 - kRatio * c);
  angles.skewDeg = std::fabs(along) < 1e-12 ? (across > 0 ? 90.0 : across < 0 ? -90.0 : 0.0)
                                            : Degrees(std::atan(across / along));
  return angles;
}

std::string LookAnglesText(const LookAngles& angles) {
  char text[160];
  const char* turn = angles.skewDeg >= 0 ? "counter-clockwise" : "clockwise";
  std::snprintf(text, sizeof text, "Elevation %.1f\u00B0, azimuth %.1f\u00B0 (true), LNB skew %+.1f\u00B0 (%s seen from behind)",
                angles.elevationDeg, angles.azimuthDeg, angles.skewDeg, turn);
  return text;
}

std::string ShortLookAnglesText(const LookAngles& angles) {
  char text[96];
  std::snprintf(text, sizeof text, "Elevation %.1f\u00B0, azimuth %.1f\u00B0, skew %+.1f\u00B0",
                angles.elevationDeg, angles.azimuthDeg, angles.skewDeg);
  return text;
}

}  // namespace usals
