// The simulated card's FILE (--simulate=FILE) as one document: read once,
// each section handed to its owner.
//
//   [card] [faults]                     the card and its devices (sim_card_options.h)
//   [site] [lnb] [dish] [satellite N]   the sky (sky/sky_file.h)
//   [driver]                            the driver's faults (driver/driver_options.h)
//   [stream]                            the capture filter's delivery (stream_options.h)
//   [motor]                             the dish positioner's speed (motor_options.h)
//
// Every section is optional; without sky sections the built-in sky is used.
// Unknown sections and keys, a section given twice and a key given twice
// (but the sky's tp lines) are errors. The first error found is reported as
// "line N: reason" (prefixed "PATH: " when read from a file).
#pragma once

#include <optional>
#include <string>

#include "platform/sim/driver/driver_options.h"
#include "platform/sim/motor_options.h"
#include "platform/sim/sim_card_options.h"
#include "platform/sim/sim_ini.h"
#include "platform/sim/sky/sky.h"
#include "platform/sim/stream_options.h"

namespace sim {

struct SimConfig {
  SimCardOptions card;
  Sky sky = DefaultSky();
  DriverOptions driver;
  StreamOptions stream;
  MotorOptions motor;
};

std::optional<SimConfig> ParseSimConfig(const IniDocument& document, std::string* error);
std::optional<SimConfig> ParseSimText(const std::string& text, std::string* error);
std::optional<SimConfig> ReadSimFile(const std::string& path, std::string* error);

}  // namespace sim
