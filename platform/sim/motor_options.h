// How the simulated card's dish positioner moves: the [motor] section of
// the card's FILE.
//
//   [motor]
//   speed = 1.5    degrees per second, 0.1 to 10
//   step = 0.1     degrees per step of a stepped drive, 0.01 to 1
//   stall_after = 5   every move stops after this many degrees, 0.1 to 160
//                  (a jammed mount; not set: the motor runs free)
#pragma once

#include <optional>
#include <string>

#include "platform/sim/sim_ini.h"
#include "platform/sim/sky/dish_motor.h"

namespace sim {

// Reads one [motor] section; errors are "line N: reason".
std::optional<MotorOptions> ParseMotorOptions(const IniSection& section, std::string* error);

}  // namespace sim
