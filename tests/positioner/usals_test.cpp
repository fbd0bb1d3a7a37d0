#include "positioner/usals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using Bytes = std::array<std::uint8_t, 5>;
using usals::Status;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Case {
  const char* what;
  double position, longitude, latitude;
  Status status;
  double angle;   // to three decimals; 0 when nothing is sent
  Bytes message;  // all zero when nothing is sent
};

TEST(Usals, WorkedValues) {
  const Case cases[] = {
      {"13.0E from London", 130, -0.1, 51.5, Status::Ok, -14.324, {0xE1, 0x31, 0x6E, 0xE0, 0xE5}},
      {"19.2E from London", 192, -0.1, 51.5, Status::Ok, -21.076, {0xE1, 0x31, 0x6E, 0xE1, 0x50}},
      {"30.0W from London", 3300, -0.1, 51.5, Status::Ok, 32.546, {0xE1, 0x31, 0x6E, 0xD2, 0x08}},
      {"13.0E from the south", 130, 10.0, -33.9, Status::Ok, 3.415, {0xE1, 0x31, 0x6E, 0xD0, 0x36}},
      {"100.5E from Delhi", 1005, 77.0, 28.6, Status::Ok, -26.857, {0xE1, 0x31, 0x6E, 0xE1, 0xAD}},
      {"177.0W from 175E: across the date line", 1830, 175.0, 40.0, Status::Ok, -8.989,
       {0xE1, 0x31, 0x6E, 0xE0, 0x8E}},
      {"177.0E from 175W: across the date line", 1770, -175.0, 40.0, Status::Ok, 8.989,
       {0xE1, 0x31, 0x6E, 0xD0, 0x8E}},
      {"87 degrees apart", 130, 100.0, 50.0, Status::Unreachable, 0, {}},
      {"at the site's longitude", 130, 13.0, 51.5, Status::Unreachable, 0, {}},
  };
  for (const Case& c : cases) {
    const usals::Result result = usals::Compute(c.position, c.longitude, c.latitude);
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_NEAR(result.angle, c.angle, 0.0005) << c.what;
    EXPECT_EQ(result.message, c.message) << c.what;
  }
}

TEST(Usals, PositionValuesThatMeanTheSameLongitude) {
  const struct {
    const char* what;
    double position, samePosition, longitude, latitude;
  } cases[] = {
      {"3600 and 0000 are both 0.0", 3600, 0, 10.0, 50.0},
      {"5400 is 180.0, as 1800 is", 5400, 1800, 175.0, 50.0},
      {"west written as 3600 minus the tenths", 3550, -50, 10.0, 50.0},
      {"a typed point is still divided by 10: 19.2 is 1.92E", 19.2, 1.92 * 10, 0.0, 50.0},
      {"longitude 180 and -180 are one meridian", 1750, 1750, 180.0, 40.0},
  };
  for (const auto& c : cases) {
    const usals::Result result = usals::Compute(c.position, c.longitude, c.latitude);
    const usals::Result same = usals::Compute(c.samePosition, c.longitude, c.latitude);
    EXPECT_EQ(result.status, Status::Ok) << c.what;
    EXPECT_EQ(result.angle, same.angle) << c.what;
    EXPECT_EQ(result.message, same.message) << c.what;
  }
  EXPECT_EQ(usals::Compute(1750, 180.0, 40.0).message, usals::Compute(1750, -180.0, 40.0).message);
  EXPECT_NEAR(usals::Compute(19.2, 0.0, 50.0).satelliteEast, 1.92, 1e-12);
}

TEST(Usals, RangeLimitsAndTextsThatAreNoNumber) {
  const struct {
    const char* what;
    double position, longitude, latitude;
    Status status;
  } cases[] = {
      {"position 5401 is beyond 180.0", 5401, 175.0, 50.0, Status::InvalidInput},
      {"position -1801", -1801, 0.0, 50.0, Status::InvalidInput},
      {"latitude 90: every satellite below the horizon", 130, 0.0, 90.0, Status::BelowHorizon},
      {"latitude 90.1 refused", 130, 0.0, 90.1, Status::InvalidInput},
      {"latitude -90.1 refused", 130, 0.0, -90.1, Status::InvalidInput},
      {"longitude 180 accepted", 1750, 180.0, 40.0, Status::Ok},
      {"longitude -180 accepted", 1750, -180.0, 40.0, Status::Ok},
      {"longitude 180.1 refused", 1750, 180.1, 40.0, Status::InvalidInput},
      {"longitude -180.1 refused", 1750, -180.1, 40.0, Status::InvalidInput},
      {"65 degrees apart: the angle passes 65", 650, 0.0, 70.0, Status::Unreachable},
      {"65.1 degrees apart", 651, 0.0, 70.0, Status::Unreachable},
      {"NaN position", kNaN, 0.0, 50.0, Status::InvalidInput},
      {"infinite position", kInf, 0.0, 50.0, Status::InvalidInput},
      {"NaN longitude", 130, kNaN, 50.0, Status::InvalidInput},
      {"-inf longitude", 130, -kInf, 50.0, Status::InvalidInput},
      {"NaN latitude", 130, 0.0, kNaN, Status::InvalidInput},
      {"inf latitude", 130, 0.0, kInf, Status::InvalidInput},
  };
  for (const auto& c : cases) {
    const usals::Result result = usals::Compute(c.position, c.longitude, c.latitude);
    EXPECT_EQ(result.status, c.status) << c.what;
    if (c.status != Status::Ok) EXPECT_EQ(result.message, Bytes{}) << c.what;
    if (c.status != Status::Ok && c.status != Status::BelowHorizon) EXPECT_EQ(result.angle, 0.0) << c.what;
  }
}

TEST(Usals, WhichLimitLeftTheSatelliteOutOfReach) {
  // 65 degrees apart is within the longitude limit, and the angle is then
  // computed (and found beyond its own limit); 65.1 is cut before it.
  const usals::Result at65 = usals::Compute(650, 0.0, 70.0);
  EXPECT_DOUBLE_EQ(at65.longitudeDifference, 65.0);
  EXPECT_GT(at65.unsignedAngle, usals::kAngleLimit);
  const usals::Result past65 = usals::Compute(651, 0.0, 70.0);
  EXPECT_GT(past65.longitudeDifference, usals::kLongitudeDifferenceLimit);
  EXPECT_EQ(past65.unsignedAngle, 0.0);
  // Across the date line the difference folds: 177W and 175E are 8 apart.
  EXPECT_NEAR(usals::Compute(1830, 175.0, 40.0).longitudeDifference, 8.0, 1e-9);
}

TEST(Usals, SignFollowsHemisphereAndDateLine) {
  const struct {
    const char* what;
    double position, longitude, latitude;
    bool positive;
  } cases[] = {
      {"west of the site, north", 3500, 10.0, 50.0, true},
      {"east of the site, north", 200, 10.0, 50.0, false},
      {"west of the site, south", 3500, 10.0, -30.0, false},
      {"east of the site, south", 200, 10.0, -30.0, true},
      // The equator turns as the north does: the dish on it points up the
      // arc, a satellite to the west is a westward (positive) turn.
      {"on the equator, east", 200, 10.0, 0.0, false},
      {"on the equator, west", 3500, 10.0, 0.0, true},
      {"across the date line, north", 1790, -178.0, 40.0, true},
      {"across the date line, south", 1790, -178.0, -40.0, false},
  };
  for (const auto& c : cases) {
    const usals::Result result = usals::Compute(c.position, c.longitude, c.latitude);
    ASSERT_EQ(result.status, Status::Ok) << c.what;
    EXPECT_EQ(result.angle > 0, c.positive) << c.what;
    EXPECT_EQ(result.message[3] >> 4, c.positive ? 0xD : 0xE) << c.what;
  }
}

// 34.7W from 0/0 and from a hair north of it turn the same way.
TEST(Usals, TheEquatorTurnsAsTheNorthDoes) {
  EXPECT_EQ(usals::Compute(3470, 0.0, 0.0).message, usals::Compute(3470, 0.0, 0.001).message);
  EXPECT_EQ(usals::Compute(3470, 0.0, 0.0).message[3] >> 4, 0xD);
}

// McMurdo Station (77.85S 166.67E) sees 105.5E 61 degrees away in longitude,
// within the motor's reach, but 2.9 degrees below its horizon.
TEST(Usals, ASatelliteBelowTheHorizonIsNotSent) {
  const usals::Result mcmurdo = usals::Compute(1055, 166.67, -77.85);
  EXPECT_EQ(mcmurdo.status, Status::BelowHorizon);
  EXPECT_NEAR(mcmurdo.elevation, -2.9, 0.05);
  EXPECT_EQ(mcmurdo.message, Bytes{});
  EXPECT_EQ(usals::Compute(130, 0.0, 90.0).status, Status::BelowHorizon) << "the pole";
  const usals::Result london = usals::Compute(192, -0.1, 51.5);
  EXPECT_EQ(london.status, Status::Ok);
  EXPECT_NEAR(london.elevation, 28.3, 0.05);
}

TEST(Usals, SameLongitudeGivesExactlyZeroWhateverTheRounding) {
  // At d = 0 the law of cosines is exactly 1 only on paper; every latitude
  // and longitude must still come out unreachable, never NaN or a tiny goto.
  for (double lat = -90.0; lat <= 90.0; lat += 0.7) {
    for (int tenths = -1800; tenths <= 1800; tenths += 37) {
      const double lon = tenths / 10.0;
      const double position = tenths < 0 ? 3600 + tenths : tenths;
      const usals::Result result = usals::Compute(position, lon, lat);
      ASSERT_EQ(result.status, Status::Unreachable) << lat << " " << lon;
      ASSERT_EQ(result.angle, 0.0) << lat << " " << lon;
    }
  }
}

TEST(Usals, AHairOffTheSiteLongitudeIsNeverNaN) {
  // Here the law-of-cosines argument rounds to just above 1, where acos
  // gives NaN; kept within [-1, 1] the angle is 0 and nothing is sent.
  const usals::Result result = usals::Compute(0, 5.672210928801579e-07, 40.277796387144775);
  EXPECT_EQ(result.status, Status::Unreachable);
  EXPECT_EQ(result.angle, 0.0);
  EXPECT_EQ(result.message, Bytes{});
}

TEST(Usals, EveryComputedAngleIsANumberWithinTheLimit) {
  for (double lat = -90.0; lat <= 90.0; lat += 2.5) {
    for (int position = 0; position < 3600; position += 25) {
      const usals::Result result = usals::Compute(position, 8.3, lat);
      ASSERT_FALSE(std::isnan(result.angle)) << lat << " " << position;
      ASSERT_LE(std::fabs(result.angle), usals::kAngleLimit) << lat << " " << position;
      ASSERT_EQ(result.status == Status::Ok || result.status == Status::BelowHorizon, result.angle != 0)
          << lat << " " << position;
      ASSERT_EQ(result.status == Status::BelowHorizon, result.angle != 0 && result.elevation < 0) << lat << " " << position;
    }
  }
}

TEST(Usals, TenthsPickTheNearestSixteenth) {
  const std::vector<std::pair<double, Bytes>> cases = {
      {-14.30, {0xE1, 0x31, 0x6E, 0xE0, 0xE5}}, {-14.39, {0xE1, 0x31, 0x6E, 0xE0, 0xE5}},
      {14.0, {0xE1, 0x31, 0x6E, 0xD0, 0xE0}},   {0.1, {0xE1, 0x31, 0x6E, 0xD0, 0x02}},
      {0.25, {0xE1, 0x31, 0x6E, 0xD0, 0x03}},   {-0.7, {0xE1, 0x31, 0x6E, 0xE0, 0x0B}},
      {-0.99, {0xE1, 0x31, 0x6E, 0xE0, 0x0E}},  {64.65, {0xE1, 0x31, 0x6E, 0xD4, 0x0A}},
      {17.8, {0xE1, 0x31, 0x6E, 0xD1, 0x1D}},   {-33.46, {0xE1, 0x31, 0x6E, 0xE2, 0x16}},
  };
  for (const auto& [angle, message] : cases) EXPECT_EQ(usals::GotoMessage(angle), message) << angle;
}

}  // namespace
