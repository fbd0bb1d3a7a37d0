// The simulated card's dish: the motor on the DiSEqC bus turns it, and what
// the card receives follows it over time.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sim/driver/tuner_driver.h"
#include "platform/sim/sky/dish_geometry.h"
#include "platform/sim/sim_file.h"
#include "tests/sim/driver_test_support.h"
#include "tests/support/file_contents.h"
#include "tests/support/instant_clock.h"

namespace sim {
namespace {

using namespace sim::testing;

// 11060 H 30000 8PSK 5/6 on Sat 9.0E, the third satellite of the built-in sky.
const DvbsTuneParameters kSat9Carrier = TuneMHz(11060, 9750, 10600, 9750, BDA_POLARISATION_LINEAR_H, 30000);
// 11362 H 22000 8PSK 2/3 on Sat 23.5E, where the dish starts.
const DvbsTuneParameters kSat235Carrier = TuneMHz(11362, 9750, 10600, 9750, BDA_POLARISATION_LINEAR_H, 22000);

// The angular goto for an angle, to the nearest sixteenth of a degree.
std::vector<uint8_t> GotoAngleRecord(double angle) {
  const int sixteenths = static_cast<int>(std::lround(std::fabs(angle) * 16));
  const uint8_t high = static_cast<uint8_t>((angle > 0 ? 0xD0 : 0xE0) | (sixteenths >> 8));
  const uint8_t low = static_cast<uint8_t>(sixteenths & 0xFF);
  return DiseqcRecord({0xE0, 0x31, 0x6E, high, low});
}

class DishDriverTest : public ::testing::Test {
 protected:
  HRESULT Send(std::vector<uint8_t> record) {
    return driver.Set(KSPROPSETID_TunerExtension, 0, record.data(), static_cast<DWORD>(record.size()));
  }
  SignalStatistics Signal() {
    SignalStatistics s;
    EXPECT_EQ(driver.ReadSignal(&s), S_OK);
    return s;
  }
  double AngleOf(size_t satellite) const {
    return *MotorAngleTo(DefaultSky().site, DefaultSky().satellites[satellite].orbitalEastDeg);
  }

  ScopedInstantClock clock;
  TunerDriver driver{DefaultSky(), {}};
};

TEST_F(DishDriverTest, AGotoTurnsTheDishAcrossTheArcAndTheSignalFollows) {
  ASSERT_EQ(driver.SubmitTune(kSat9Carrier), S_OK);
  clock->SleepMs(1000);
  EXPECT_EQ(driver.Pointing().satelliteIndex, 0u);
  EXPECT_EQ(driver.Motor().angleDeg, AngleOf(0));
  EXPECT_FALSE(driver.Motor().moving);
  EXPECT_FALSE(Signal().locked) << "Sat 23.5E has no 11060 H";

  ASSERT_EQ(Send(GotoAngleRecord(AngleOf(2))), S_OK);
  std::vector<size_t> satellitesPassed{0};
  std::vector<LONG> strengths;
  double lastAngle = driver.Motor().angleDeg;
  while (driver.Motor().moving) {
    clock->SleepMs(250);
    const MotorPosition motor = driver.Motor();
    EXPECT_GT(motor.angleDeg, lastAngle) << "turning west, toward Sat 9.0E";
    lastAngle = motor.angleDeg;
    if (driver.Pointing().satelliteIndex != satellitesPassed.back())
      satellitesPassed.push_back(driver.Pointing().satelliteIndex);
    if (satellitesPassed.back() == 2) strengths.push_back(Signal().strength);
    ASSERT_LT(clock->NowMs(), 60'000u) << "the motor never arrived";
  }
  EXPECT_EQ(satellitesPassed, (std::vector<size_t>{0, 1, 2})) << "past Sat 16.0E on the way";
  EXPECT_NEAR(driver.Motor().angleDeg, AngleOf(2), 1.0 / 32);
  // About 1.5 degrees a second over the 13 or so degrees between them.
  EXPECT_NEAR(static_cast<double>(clock->NowMs()) / 1000.0, 1.0 + (AngleOf(2) - AngleOf(0)) / 1.5, 0.3);
  ASSERT_GE(strengths.size(), 3u);
  EXPECT_TRUE(std::is_sorted(strengths.begin(), strengths.end())) << "stronger as the dish comes on";
  EXPECT_LT(strengths.front(), strengths.back());
  // The dish came onto the satellite well before it stopped: already locked.
  EXPECT_TRUE(Signal().locked);
  EXPECT_EQ(driver.DescribeStream().satelliteIndex, 2u);
}

TEST_F(DishDriverTest, TurningAwayLosesTheLockAndReturningToAStoredPositionRegainsIt) {
  ASSERT_EQ(driver.SubmitTune(kSat235Carrier), S_OK);
  clock->SleepMs(kAcquisitionTimeMs);
  const SignalStatistics onTarget = Signal();
  ASSERT_TRUE(onTarget.locked);
  ASSERT_EQ(Send(DiseqcRecord({0xE0, 0x31, 0x6A, 0x01})), S_OK);  // store 1
  ASSERT_EQ(Send(DiseqcRecord({0xE0, 0x31, 0x68, 0x02})), S_OK);  // east for 2 s
  clock->SleepMs(1000);
  const SignalStatistics halfway = Signal();
  clock->SleepMs(1000);
  const SignalStatistics away = Signal();
  EXPECT_FALSE(away.locked);
  EXPECT_LT(halfway.strength, onTarget.strength);
  EXPECT_LT(away.strength, halfway.strength);
  EXPECT_NEAR(driver.Pointing().errorDeg, 3.0, 1e-9);

  ASSERT_EQ(Send(DiseqcRecord({0xE1, 0x31, 0x6B, 0x01})), S_OK);  // goto 1
  clock->SleepMs(2000);
  EXPECT_FALSE(driver.Motor().moving);
  const SignalStatistics back = Signal();
  EXPECT_TRUE(back.locked) << "never on another satellite: no new acquisition";
  EXPECT_EQ(back.strength, onTarget.strength);
}

TEST_F(DishDriverTest, HaltStopsTheDishBetweenSatellites) {
  ASSERT_EQ(Send(GotoAngleRecord(AngleOf(3))), S_OK);  // Sat 5.0W, far west
  clock->SleepMs(3000);
  ASSERT_EQ(Send(DiseqcRecord({0xE1, 0x31, 0x60})), S_OK);
  const double stoppedAt = driver.Motor().angleDeg;
  EXPECT_NEAR(stoppedAt, AngleOf(0) + 4.5, 1e-9);
  clock->SleepMs(10'000);
  EXPECT_EQ(driver.Motor().angleDeg, stoppedAt);
  EXPECT_FALSE(driver.Motor().moving);
}

TEST(DishDriver, TheDishStartsAtThePointedSatelliteOrAtTheReference) {
  ScopedInstantClock clock;
  Sky sky = DefaultSky();
  sky.pointedSatelliteIndex = 2;
  TunerDriver pointed(sky, {});
  EXPECT_EQ(pointed.Pointing().satelliteIndex, 2u);
  EXPECT_EQ(pointed.Pointing().errorDeg, 0.0);
  EXPECT_EQ(pointed.Motor().angleDeg, *MotorAngleTo(sky.site, 9.0));

  // A satellite below the horizon cannot be faced: the motor waits at its
  // reference, nearest the satellite closest to due south.
  sky.satellites.push_back({"Sat 110.0E", 110.0, {}});
  sky.pointedSatelliteIndex = 4;
  TunerDriver hidden(sky, {});
  EXPECT_EQ(hidden.Motor().angleDeg, 0.0);
  EXPECT_EQ(hidden.Pointing().satelliteIndex, 2u);
  EXPECT_FALSE(hidden.PointAt(4));
}

TEST(DishDriver, MotorMovesAreTracedAndTheSpeedComesFromTheFile) {
  ScopedInstantClock clock;
  const std::string trace = ::testing::TempDir() + "dish_driver_trace.txt";
  std::string error;
  const auto config = ParseSimText("[card]\ntrace = " + trace + "\n[motor]\nspeed = 3.0\nstep = 0.5\n", &error);
  ASSERT_TRUE(config) << error;
  EXPECT_EQ(config->motor.speedDegPerSecond, 3.0);
  EXPECT_EQ(config->motor.stepDeg, 0.5);
  {
    TunerDriver driver(config->sky, {}, DriverTrace::Open(trace, &error), config->motor);
    const double start = driver.Motor().angleDeg;
    auto record = DiseqcRecord({0xE0, 0x31, 0x69, 0xFE});  // two steps west
    driver.Set(KSPROPSETID_TunerExtension, 0, record.data(), 11);
    clock->SleepMs(1000);
    EXPECT_DOUBLE_EQ(driver.Motor().angleDeg, start + 1.0);
    record = DiseqcRecord({0xE0, 0x10, 0x38, 0xF0});  // a switch: no motor line
    driver.Set(KSPROPSETID_TunerExtension, 0, record.data(), 11);
  }
  EXPECT_EQ(FileText(trace),
            "Set 0 E0 31 69 FE 00 00 00 00 00 00 04\n"
            "Motor drive west 2 steps from -17.00 to -16.00 (0.3 s)\n"
            "Set 0 E0 10 38 F0 00 00 00 00 00 00 04\n");
}

TEST(DishDriver, MotorSectionErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"[motor]\nspeed = 0\n", "line 2: speed is a number from 0.1 to 10, not \"0\""},
      {"[motor]\nspeed = fast\n", "line 2: speed is a number from 0.1 to 10, not \"fast\""},
      {"[motor]\nstep = 2\n", "line 2: step is a number from 0.01 to 1, not \"2\""},
      {"[motor]\nturns = 3\n", "line 2: unknown key \"turns\" in [motor]"},
      {"[motor]\nspeed = 1\nspeed = 2\n", "line 3: key \"speed\" given twice in [motor]"},
  };
  for (const auto& [text, expected] : cases) {
    std::string error;
    EXPECT_FALSE(ParseSimText(text, &error)) << text;
    EXPECT_EQ(error, expected);
  }
}

}  // namespace
}  // namespace sim
