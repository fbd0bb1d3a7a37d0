#include "platform/sim/motor_options.h"

#include "platform/sim/ini_values.h"

namespace sim {

std::optional<MotorOptions> ParseMotorOptions(const IniSection& section, std::string* error) {
  MotorOptions options;
  for (const IniEntry& e : section.entries) {
    if (e.key == "speed") {
      if (!ParseDecimal(e, 0.1, 10.0, &options.speedDegPerSecond, error)) return std::nullopt;
    } else if (e.key == "step") {
      if (!ParseDecimal(e, 0.01, 1.0, &options.stepDeg, error)) return std::nullopt;
    } else if (e.key == "stall_after") {
      double degrees = 0;
      if (!ParseDecimal(e, 0.1, 160.0, &degrees, error)) return std::nullopt;
      options.stallAfterDeg = degrees;
    } else {
      *error = LineOf(e) + "unknown key \"" + e.key + "\" in [motor]";
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace sim
