#include "platform/sim/sky/dish_motor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sim {
namespace {

using Message = std::vector<uint8_t>;

// A motor at 1.5 degrees per second with 0.1-degree steps, driven through a
// script of bus messages at given times.
class DishMotorTest : public ::testing::Test {
 protected:
  std::string Send(Message message) {
    const auto did = motor.Receive(message, now);
    return did ? *did : "(not for the motor)";
  }
  void Wait(uint64_t ms) { now += ms; }
  double Angle() const { return motor.AngleAt(now); }
  bool Moving() const { return motor.MovingAt(now); }
  void Settle() { Wait(200'000); }

  uint64_t now = 1000;
  DishMotor motor{MotorOptions{}, 0.0, now};
};

TEST_F(DishMotorTest, AngularGotoTurnsAtTheMotorsSpeed) {
  // -14.3125 degrees: E 0E 5 (14 degrees, 5 sixteenths, east).
  EXPECT_EQ(Send({0xE1, 0x31, 0x6E, 0xE0, 0xE5}), "goto angle -14.31 from 0.00 to -14.31 (9.5 s)");
  EXPECT_TRUE(Moving());
  Wait(5000);
  EXPECT_DOUBLE_EQ(Angle(), -7.5);
  Wait(4542);  // 14.3125 degrees take 9541.7 ms
  EXPECT_DOUBLE_EQ(Angle(), -14.3125);
  EXPECT_FALSE(Moving());
  // The repeated and first transmissions of one goto end in the same place.
  EXPECT_EQ(Send({0xE0, 0x31, 0x6E, 0xE0, 0xE5}), "goto angle -14.31: stays at -14.31");
  EXPECT_EQ(Send({0xE0, 0x31, 0x6E, 0xD2, 0x08}), "goto angle 32.50 from -14.31 to 32.50 (31.2 s)");
  Settle();
  EXPECT_DOUBLE_EQ(Angle(), 32.5);
  EXPECT_EQ(Send({0xE0, 0x31, 0x6E, 0x12, 0x08}), "goto angle: no direction in 12, ignored");
  EXPECT_FALSE(Moving());
}

TEST_F(DishMotorTest, DrivesTimedSteppedAndUntilHalted) {
  EXPECT_EQ(Send({0xE0, 0x31, 0x69, 0x04}), "drive west 4 s from 0.00 to 6.00 (4.0 s)");
  Settle();
  EXPECT_DOUBLE_EQ(Angle(), 6.0);
  EXPECT_EQ(Send({0xE1, 0x31, 0x68, 0xFF}), "drive east 1 step from 6.00 to 5.90 (0.1 s)");
  Settle();
  EXPECT_EQ(Send({0xE0, 0x31, 0x68, 0xFE}), "drive east 2 steps from 5.90 to 5.70 (0.1 s)");
  Settle();
  EXPECT_NEAR(Angle(), 5.7, 1e-9);

  // 0x50: eighty seconds, enough for 120 degrees; the travel ends at 80.
  Send({0xE0, 0x31, 0x69, 0x50});
  Settle();
  EXPECT_DOUBLE_EQ(Angle(), kMotorTravelDeg);
  // 0x00: until halted.
  EXPECT_EQ(Send({0xE0, 0x31, 0x68, 0x00}), "drive east from 80.00 to -80.00 (106.7 s)");
  Wait(10'000);
  EXPECT_EQ(Send({0xE0, 0x31, 0x60}), "halt at 65.00");
  Wait(10'000);
  EXPECT_DOUBLE_EQ(Angle(), 65.0);
  EXPECT_FALSE(Moving());
}

TEST_F(DishMotorTest, LimitsHoldTheDishUntilSwitchedOff) {
  Send({0xE0, 0x31, 0x68, 0x02});  // 3 degrees east
  Settle();
  EXPECT_EQ(Send({0xE0, 0x31, 0x66}), "east limit at -3.00");
  Send({0xE0, 0x31, 0x69, 0x04});  // 6 degrees west: to 3.00
  Settle();
  EXPECT_EQ(Send({0xE0, 0x31, 0x67}), "west limit at 3.00");

  EXPECT_EQ(Send({0xE0, 0x31, 0x68, 0x00}), "drive east from 3.00 to -3.00 (limit) (4.0 s)");
  Settle();
  EXPECT_EQ(Send({0xE0, 0x31, 0x6E, 0xD1, 0x40}), "goto angle 20.00 from -3.00 to 3.00 (limit) (4.0 s)");
  Settle();
  EXPECT_EQ(Send({0xE0, 0x31, 0x69, 0xFF}), "drive west 1 step: stays at 3.00 (limit)");

  EXPECT_EQ(Send({0xE0, 0x31, 0x63}), "limits off");
  Send({0xE0, 0x31, 0x6E, 0xD1, 0x40});
  Settle();
  EXPECT_DOUBLE_EQ(Angle(), 20.0);
  // Back on (store 0): a dish already past the west limit may only come back.
  EXPECT_EQ(Send({0xE0, 0x31, 0x6A, 0x00}), "limits on");
  EXPECT_EQ(Send({0xE0, 0x31, 0x69, 0x02}), "drive west 2 s: stays at 20.00 (limit)");
  EXPECT_EQ(Send({0xE0, 0x31, 0x68, 0x00}), "drive east from 20.00 to -3.00 (limit) (15.3 s)");
}

TEST_F(DishMotorTest, StoredPositionsAndTheReference) {
  Send({0xE0, 0x31, 0x6E, 0xE0, 0xE5});
  Settle();
  EXPECT_EQ(Send({0xE0, 0x31, 0x6A, 0x05}), "store 5 at -14.31");
  Send({0xE0, 0x31, 0x6E, 0xD2, 0x08});
  Settle();
  EXPECT_EQ(Send({0xE1, 0x31, 0x6B, 0x05}), "goto 5 from 32.50 to -14.31 (31.2 s)");
  Wait(1000);
  EXPECT_EQ(Send({0xE0, 0x31, 0x6A, 0x06}), "store 6 at 31.00");  // stored where it is, moving or not
  Settle();
  EXPECT_DOUBLE_EQ(Angle(), -14.3125);
  EXPECT_EQ(Send({0xE0, 0x31, 0x6B, 0x07}), "goto 7: nothing stored there");
  EXPECT_EQ(Send({0xE0, 0x31, 0x6B, 0x00}), "goto reference from -14.31 to 0.00 (9.5 s)");
  Settle();
  EXPECT_EQ(Angle(), 0.0);
  Send({0xE0, 0x31, 0x6B, 0x06});
  Settle();
  EXPECT_DOUBLE_EQ(Angle(), 31.0);
}

TEST_F(DishMotorTest, OtherMessagesLeaveItAlone) {
  const Message others[] = {
      {0xE0, 0x10, 0x38, 0xF3},  // a committed switch
      {0xE0, 0x31},              // too short
      {0xE0, 0x31, 0x68},        // drive without its data byte
      {0xE0, 0x31, 0x6E, 0xE0},  // goto without its second angle byte
      {0xE0, 0x31, 0x6F, 0x00, 0x00, 0x00},  // recalculate: not built in
      {0xE0, 0x32, 0x60},        // an elevation positioner's halt
      {0xD0, 0x31, 0x60},        // a reply, not a command
  };
  Send({0xE0, 0x31, 0x69, 0x02});
  for (const Message& message : others) EXPECT_EQ(Send(message), "(not for the motor)") << message.size();
  EXPECT_TRUE(Moving());
  EXPECT_EQ(Send({0xE0, 0x30, 0x60}), "halt at 0.00") << "any positioner";
  EXPECT_EQ(Send({0xE2, 0x00, 0x60}), "halt at 0.00") << "any device, reply wanted";
}

TEST(DishMotor, SpeedAndStepComeFromTheOptionsAndTimePassingFollowsTheMove) {
  DishMotor motor{MotorOptions{3.0, 0.25, std::nullopt}, -10.0, 0};
  EXPECT_EQ(*motor.Receive({0xE0, 0x31, 0x69, 0xFC}, 0), "drive west 4 steps from -10.00 to -9.00 (0.3 s)");
  EXPECT_EQ(*motor.Receive({0xE0, 0x31, 0x6E, 0xD0, 0xA0}, 1000), "goto angle 10.00 from -9.00 to 10.00 (6.3 s)");
  EXPECT_DOUBLE_EQ(motor.AngleAt(2000), -6.0);
  EXPECT_EQ(motor.TimePassing(0.0), 4000u);
  EXPECT_EQ(motor.TimePassing(-20.0), 1000u) << "not on this move: its start";
  EXPECT_EQ(motor.TimePassing(50.0), 1000u);
  motor.Place(3.0, 5000);
  EXPECT_FALSE(motor.MovingAt(5000));
  EXPECT_EQ(motor.AngleAt(9000), 3.0);
}

// Power off mid-move and on again: the dish rests where the move ends, with
// its limits and stored positions, and the file reads back as written.
TEST(DishMotor, ItsMemoryOutlivesTheProgramAndBadFilesAreNamed) {
  DishMotor motor{MotorOptions{}, 0.0, 0};
  motor.Receive({0xE0, 0x31, 0x6E, 0xE0, 0x50}, 0);  // goto 5.0 east (-5.00)
  motor.Receive({0xE0, 0x31, 0x66}, 4000);          // east limit where it stands
  motor.Receive({0xE0, 0x31, 0x6A, 0x07}, 4000);    // stored as position 7
  motor.Receive({0xE0, 0x31, 0x68, 0x00}, 4000);    // drive east: held by the limit
  motor.Receive({0xE0, 0x31, 0x6E, 0xD0, 0xA0}, 4000);  // goto 10.00 west, in progress
  const MotorMemory memory = motor.Remember();
  EXPECT_EQ(memory.angleDeg, 10.0) << "where the move in progress ends";
  EXPECT_EQ(memory.eastLimitDeg, -5.0);
  EXPECT_TRUE(memory.limitsOn);
  EXPECT_EQ(memory.stored, (std::map<int, double>{{7, -5.0}}));

  std::string error;
  const auto read = ParseMotorMemory(MotorMemoryText(memory), &error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(*read, memory);
  DishMotor next{MotorOptions{}, -17.0, 0};
  next.Recall(*read, 100);
  EXPECT_EQ(next.AngleAt(100), 10.0);
  EXPECT_FALSE(next.MovingAt(100));
  EXPECT_EQ(*next.Receive({0xE0, 0x31, 0x6B, 0x07}, 200), "goto 7 from 10.00 to -5.00 (10.0 s)");

  const std::pair<const char*, const char*> bad[] = {
      {"limits = on\n", "no angle"},
      {"angle = 95\n", "line 1: angle needs an angle within +-80 degrees, not \"95\""},
      {"angle = 1\nlimits = maybe\n", "line 2: limits is on or off, not \"maybe\""},
      {"angle = 1\nposition 0 = 2\n", "line 2: a stored position is numbered 1 to 255: \"position 0\""},
      {"angle = 1\nspeed = 2\n", "line 2: unknown key \"speed\""},
  };
  for (const auto& [text, expected] : bad) {
    EXPECT_FALSE(ParseMotorMemory(text, &error)) << text;
    EXPECT_EQ(error, expected);
  }
}

}  // namespace
}  // namespace sim
