#pragma once
// The simulated card's dish positioner: a DiSEqC 1.2 motor on a polar mount
// that obeys the positioner commands on the bus and turns at a fixed speed.
//
// Angles are degrees from the reference position, positive west, as the
// angular goto command counts them (dish_geometry.h). Time is milliseconds
// of the caller's clock; the motor keeps no clock of its own, so a move is
// its start, its end and its speed, and the angle at any time follows.
//
// Commands (framing E0 to E3; address 00 any device, 30 any positioner,
// 31 polar/azimuth positioner; every message acts, repeated ones too):
//   60       halt where it is
//   63       limits off (the limits are kept)
//   66 / 67  set the east / west limit at the current angle; limits on
//   68 / 69  drive east / west; data 00: until halted or stopped by a
//            limit or the end of travel, 01-7F: for that many seconds,
//            80-FF: 256 - data steps
//   6A nn    store the current angle as position nn; nn 00: limits on
//   6B nn    go to stored position nn; nn 00: the reference (0 degrees)
//   6E hh ll go to an angle: hh's high nibble D (west) or E (east), then
//            whole degrees in 8 bits and sixteenths in 4 bits
// While limits are on, no move goes past a set limit further than where it
// starts; the travel ends at +-kMotorTravelDeg. Not thread-safe: the driver
// holds it under its lock.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/sky/motor_memory.h"

namespace sim {

// How the motor moves: the [motor] section of the card's FILE.
struct MotorOptions {
  double speedDegPerSecond = 1.5;
  double stepDeg = 0.1;  // one step of a stepped drive
  // A jammed mount (ice, a cable caught): every move stops after this many
  // degrees, wherever it was going. None: the motor runs free.
  std::optional<double> stallAfterDeg;
};

inline constexpr double kMotorTravelDeg = 80.0;

class DishMotor {
 public:
  DishMotor(MotorOptions options, double startAngleDeg, uint64_t nowMs);

  // Acts on one bus message. What it did, in words, for the driver's trace;
  // none when the message is no positioner command this motor knows.
  std::optional<std::string> Receive(const std::vector<uint8_t>& message, uint64_t nowMs);

  double AngleAt(uint64_t nowMs) const;
  bool MovingAt(uint64_t nowMs) const;

  // Puts the dish at the angle at once, as an installer turning it by hand;
  // ends any move.
  void Place(double angleDeg, uint64_t nowMs);

  // What the motor keeps without power: the angle the dish rests at once the
  // current move ends, the limits, the stored positions. Recall puts the
  // dish there at once.
  MotorMemory Remember() const;
  void Recall(const MotorMemory& memory, uint64_t nowMs);

  // When the current move passed `angleDeg`, or when it began if it did not
  // pass it.
  uint64_t TimePassing(double angleDeg) const;

 private:
  struct Move {
    double from;
    uint64_t startMs;
    double to;
  };

  // Starts a move toward target, held back by the travel and the limits.
  std::string MoveToward(double target, uint64_t nowMs, const std::string& what);
  std::string Drive(int direction, uint8_t data, uint64_t nowMs);
  std::string GotoAngle(uint8_t high, uint8_t low, uint64_t nowMs);
  uint64_t DurationMs(double from, double to) const;

  const MotorOptions m_options;
  Move m_move;
  std::optional<double> m_eastLimit;
  std::optional<double> m_westLimit;
  bool m_limitsOn = false;
  std::map<int, double> m_stored;
};

}  // namespace sim
