#pragma once
// USALS: the angle through which a DiSEqC 1.2 motor on a polar mount turns
// from its reference (the geostationary arc due south or north of the site)
// to face a satellite, and the angular goto message (command 0x6E) that
// carries it. A closed formula on a spherical Earth with the constants
// below; the steps keep their written form and order, because the angle's
// tenths digit decides the message bytes. Pure functions.

#include <array>
#include <cstdint>

namespace usals {

inline constexpr double kPi = 3.141592654;  // this value, not the full-precision one
inline constexpr double kEarthRadiusKm = 6378.0;
inline constexpr double kEarthRadiusSquared = 40678884.0;
inline constexpr double kOrbitRadiusKm = 42164.2;
inline constexpr double kChordFactor = 3555639523.0;  // twice the orbit radius squared, cut to an integer
inline constexpr double kLongitudeDifferenceLimit = 65.0;
inline constexpr double kAngleLimit = 65.0;
inline constexpr double kDateLineThreshold = 89.9;

enum class Status {
  Ok,            // the angle is non-zero and the message is set
  InvalidInput,  // a position, longitude or latitude out of range, or not a number
  Unreachable,   // the angle came out 0: too far east or west, or at the site's own longitude
  BelowHorizon,  // an angle came out, but the satellite cannot be seen from the site
};

struct Result {
  Status status = Status::InvalidInput;
  double satelliteEast = 0;        // the satellite's longitude, east positive
  double longitudeDifference = 0;  // degrees between satellite and site, 0 to 180
  double unsignedAngle = 0;        // the angle before the 65-degree limit and the sign
  double angle = 0;                // signed motor angle: positive turns west (0xD)
  double elevation = 0;            // the satellite's elevation at the site, degrees
  std::array<std::uint8_t, 5> message{};  // E1 31 6E xx yy when Ok
};

// From the satellite position value (tenths of a degree east, west as 3600
// minus the tenths west: the number read from the entry's first four
// characters), the site longitude (east positive) and latitude (north
// positive), all in degrees. A site on the equator counts with the northern
// hemisphere (the sign a dish there turns by), and the angle 0 (a satellite
// at the site's own longitude) counts as unreachable. An angle to a
// satellite below the site's horizon (beyond about 81 degrees of arc, or
// near a pole) is not sent: the motor would turn the dish at the ground.
Result Compute(double positionValue, double longitude, double latitude);

// The angular goto message for a non-zero angle: E1 31 6E, then the
// direction nibble (D positive, E negative) and the whole degrees and
// sixteenths of |angle|, the tenths digit mapped to the nearest sixteenth.
std::array<std::uint8_t, 5> GotoMessage(double angle);

}  // namespace usals
