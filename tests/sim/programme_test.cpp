// The generated programme names the carrier delivered, and each input stream
// of a multiple-input-stream carrier looks different.
#include "platform/sim/programme.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

Sky TwoCarriers() {
  Sky sky;
  Satellite satellite{"Sat 19.2E", 19.2, {}};
  satellite.transponders.push_back({.frequencyMHz = 11361.5, .polarisation = Polarisation::Vertical, .symbolRateKs = 22000});
  satellite.transponders.push_back({.frequencyMHz = 12168, .polarisation = Polarisation::Horizontal, .symbolRateKs = 27500,
                                    .system = DeliverySystem::DvbS2, .inputStreamIds = {1, 2, 10}});
  sky.satellites = {Satellite{"Other", 5.0, {}}, satellite};
  return sky;
}

StreamDescription Locked(std::size_t transponder, int inputStreamId) {
  StreamDescription d;
  d.locked = true;
  d.satelliteIndex = 1;
  d.transponderIndex = transponder;
  d.inputStreamId = inputStreamId;
  return d;
}

TEST(Programme, NamesSatelliteCarrierAndInputStream) {
  const Sky sky = TwoCarriers();
  const SimStreamContent single = ProgrammeFor(sky, Locked(0, 0));
  EXPECT_EQ(single.caption.lines, (std::array<std::string, 3>{"Sat 19.2E", "11361.5 V 22000", "SINGLE STREAM"}));
  EXPECT_EQ(single.serviceName, "Sat 19.2E 11361.5 V 22000");

  const SimStreamContent two = ProgrammeFor(sky, Locked(1, 2));
  const SimStreamContent ten = ProgrammeFor(sky, Locked(1, 10));
  EXPECT_EQ(two.caption.lines[1], "12168 H 27500");
  EXPECT_EQ(two.caption.lines[2], "ISI 2");
  EXPECT_EQ(ten.caption.lines[2], "ISI 10");
  EXPECT_NE(two.caption.barRotation % 7, ten.caption.barRotation % 7) << "the bars tell them apart at a glance";
}

TEST(Programme, WithoutALockOrAKnownCarrierTheDefaultProgrammeIsShown) {
  const Sky sky = TwoCarriers();
  StreamDescription unlocked = Locked(0, 0);
  unlocked.locked = false;
  EXPECT_EQ(ProgrammeFor(sky, unlocked).caption, SimStreamContent{}.caption);
  EXPECT_EQ(ProgrammeFor(sky, Locked(7, 0)).caption, SimStreamContent{}.caption);
}

}  // namespace
}  // namespace sim
