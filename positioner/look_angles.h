#pragma once

#include <string>
// Where to point a fixed dish, or check a motorised one: the standard
// geostationary look angles from a site to a satellite on a spherical Earth
// (radius 6378 km, orbit radius 42164 km). Pure functions.
//
//  - elevation above the horizon, negative for a satellite below it;
//  - true azimuth, degrees clockwise from true north (not magnetic);
//  - LNB skew, the polarisation's rotation: positive turns the LNB
//    counter-clockwise as seen from behind the dish, looking at the satellite
//    (clockwise facing the dish). On the equator it is +-90; at the sub-
//    satellite point (the satellite overhead) azimuth and skew are 0.

namespace usals {

struct LookAngles {
  double elevationDeg = 0;
  double azimuthDeg = 0;
  double skewDeg = 0;
};

// latitude north positive, longitude and satellite east positive, degrees.
LookAngles ComputeLookAngles(double latitude, double longitude, double satelliteEast);

// "Elevation 28.3°, azimuth 155.9° (true), LNB skew +14.9° (counter-clockwise seen from behind)".
std::string LookAnglesText(const LookAngles& angles);
// The page's line: "Elevation 28.3°, azimuth 155.9°, skew +14.9°"
// (the full text as its tooltip).
std::string ShortLookAnglesText(const LookAngles& angles);

}  // namespace usals
