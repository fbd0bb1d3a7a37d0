#include "positioner/usals.h"

#include "positioner/look_angles.h"

#include <algorithm>
#include <cmath>

namespace usals {
namespace {

constexpr double kDegreesToRadians = kPi / 180.0;

// The sixteenths nibble nearest to each tenth: round(1.6 * t).
constexpr std::uint8_t kSixteenthsOfTenth[10] = {0x0, 0x2, 0x3, 0x5, 0x6, 0x8, 0xA, 0xB, 0xD, 0xE};

bool OutOfRange(double value, double limit) { return !std::isfinite(value) || std::fabs(value) > limit; }

// The angle at the site between the arc point at its own longitude and the
// satellite, d degrees away in longitude (law of cosines), in degrees.
double AngleAtSite(double d, double lat) {
  // At d = 0 the cosine argument is 1 only in exact arithmetic; rounding
  // would give NaN or a tiny angle sent as a real goto.
  if (d == 0) return 0;
  const double z = kEarthRadiusKm * std::sin(lat * kDegreesToRadians);
  const double z2 = z * z;
  const double r = std::sqrt(kEarthRadiusSquared - z2);
  const double rSinD = r * std::sin(d * kDegreesToRadians);
  const double w = std::sqrt(rSinD * rSinD + z2);
  const double w2 = w * w;
  const double toSatellite = kOrbitRadiusKm - std::sqrt(kEarthRadiusSquared - w2);
  const double dsat = std::sqrt(toSatellite * toSatellite + w2);
  const double toArc = kOrbitRadiusKm - r;
  const double d0 = std::sqrt(toArc * toArc + z2);
  const double q = std::sqrt(kChordFactor - kChordFactor * std::cos(d * kDegreesToRadians));
  const double cosine = (d0 * d0 + dsat * dsat - q * q) / (2.0 * dsat * d0);
  return std::acos(std::clamp(cosine, -1.0, 1.0)) * 180.0 / kPi;
}

}  // namespace

Result Compute(double positionValue, double longitude, double latitude) {
  Result result;
  double s = positionValue / 10.0;
  if (s > 180) s = s - 360;
  result.satelliteEast = s;
  const double lon = longitude;
  const double lat = latitude;
  if (OutOfRange(s, 180) || OutOfRange(lon, 180) || OutOfRange(lat, 90)) return result;

  double d = std::fabs(s - lon);
  if (d > 180) d = d - 360;
  result.longitudeDifference = std::fabs(d);
  if (std::fabs(d) > kLongitudeDifferenceLimit) d = 0;

  double a = AngleAtSite(d, lat);
  result.unsignedAngle = a;
  if (std::fabs(a) > kAngleLimit) a = 0;
  // The equator takes the northern sign, as the dish there turns.
  const bool westInNorth = s < lon && lat >= 0;
  const bool eastInSouth = s > lon && lat < 0;
  if (!westInNorth && !eastInSouth) a = -a;
  const bool acrossDateLine =
      (s < -kDateLineThreshold && lon > kDateLineThreshold) || (s > kDateLineThreshold && lon < -kDateLineThreshold);
  if (acrossDateLine) a = -a;

  result.angle = a;
  result.elevation = ComputeLookAngles(lat, lon, s).elevationDeg;
  if (a == 0) {
    result.status = Status::Unreachable;
    return result;
  }
  if (result.elevation < 0) {
    result.status = Status::BelowHorizon;
    return result;
  }
  result.status = Status::Ok;
  result.message = GotoMessage(a);
  return result;
}

std::array<std::uint8_t, 5> GotoMessage(double angle) {
  const std::uint8_t direction = angle > 0 ? 0xD : 0xE;
  const double magnitude = std::fabs(angle);
  const int n = static_cast<int>(magnitude);
  const int t = std::clamp(static_cast<int>((magnitude - n) * 10), 0, 9);
  const auto high = static_cast<std::uint8_t>((direction << 4) | ((n >> 4) & 0x0F));
  const auto low = static_cast<std::uint8_t>(((n << 4) & 0xF0) | kSixteenthsOfTenth[t]);
  return {0xE1, 0x31, 0x6E, high, low};
}

}  // namespace usals
