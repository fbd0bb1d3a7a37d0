#include "platform/sim/sky/dish_geometry.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(DishGeometry, MotorAnglesOfKnownSitesAndTheirSigns) {
  // Angles a USALS installation sends for these (to three decimals); the
  // geometry of the simulated dish must land within a hundredth of them.
  const struct {
    const char* what;
    Site site;
    double satellite;
    double angle;
  } cases[] = {
      {"13.0E from London", {51.5, -0.1}, 13.0, -14.324},
      {"19.2E from London", {51.5, -0.1}, 19.2, -21.076},
      {"30.0W from London", {51.5, -0.1}, -30.0, 32.546},
      {"13.0E from Cape Town: east turns the positive way", {-33.9, 10.0}, 13.0, 3.415},
      {"100.5E from Delhi", {28.6, 77.0}, 100.5, -26.857},
      {"177.0W from 175E, across the date line", {40.0, 175.0}, -177.0, -8.989},
      {"177.0E from 175W, across the date line", {40.0, -175.0}, 177.0, 8.989},
  };
  for (const auto& c : cases) {
    const auto angle = MotorAngleTo(c.site, c.satellite);
    ASSERT_TRUE(angle) << c.what;
    EXPECT_NEAR(*angle, c.angle, 0.01) << c.what;
  }
  EXPECT_EQ(MotorAngleTo({50.0, 8.0}, 8.0), 0.0) << "the reference faces the site's own longitude";
}

TEST(DishGeometry, SatellitesBelowTheHorizonHaveNoAngle) {
  EXPECT_FALSE(MotorAngleTo({50.0, 8.0}, 100.0));   // 92 degrees east
  EXPECT_FALSE(MotorAngleTo({50.0, 8.0}, -120.0));
  EXPECT_FALSE(MotorAngleTo({85.0, 0.0}, 0.0));     // too far north for the whole arc
  EXPECT_TRUE(MotorAngleTo({50.0, 8.0}, 75.0));     // low in the east, still visible
  EXPECT_TRUE(MotorAngleTo({0.0, 0.0}, 80.0));
}

}  // namespace
}  // namespace sim
