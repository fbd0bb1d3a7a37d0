#pragma once
// Where a dish on a polar mount must turn to face a satellite of the
// geostationary arc. The mount's reference faces the arc at the site's own
// longitude; the motor angle is the angle at the site between that point
// and the satellite, signed as the DiSEqC angular goto command counts it:
// positive turns toward satellites west of the site in the northern
// hemisphere and east of it in the southern (a mount on the equator counts
// as northern). Spherical Earth, full-precision geometry. Pure functions.

#include <optional>

#include "platform/sim/sky/sky.h"

namespace sim {

inline constexpr double kEarthRadiusKm = 6378.0;
inline constexpr double kGeostationaryRadiusKm = 42164.2;

// The motor angle in degrees for the satellite at `orbitalEastDeg`, or none
// when it is below the site's horizon.
std::optional<double> MotorAngleTo(const Site& site, double orbitalEastDeg);

}  // namespace sim
