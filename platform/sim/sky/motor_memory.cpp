#include "platform/sim/sky/motor_memory.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "platform/sim/sky/dish_motor.h"

namespace sim {
namespace {

std::string Degrees(double angle) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", angle);
  return text;
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// An angle within the motor's travel.
std::optional<double> Angle(const std::string& text) {
  std::istringstream in(text);
  double value = 0;
  if (!(in >> value) || !(in >> std::ws).eof() || !std::isfinite(value) || std::fabs(value) > kMotorTravelDeg)
    return std::nullopt;
  return value;
}

}  // namespace

std::string MotorMemoryText(const MotorMemory& memory) {
  std::string text = "angle = " + Degrees(memory.angleDeg) + "\n";
  if (memory.eastLimitDeg) text += "east_limit = " + Degrees(*memory.eastLimitDeg) + "\n";
  if (memory.westLimitDeg) text += "west_limit = " + Degrees(*memory.westLimitDeg) + "\n";
  text += std::string("limits = ") + (memory.limitsOn ? "on" : "off") + "\n";
  for (const auto& [slot, angle] : memory.stored) text += "position " + std::to_string(slot) + " = " + Degrees(angle) + "\n";
  return text;
}

std::optional<MotorMemory> ParseMotorMemory(const std::string& text, std::string* error) {
  MotorMemory memory;
  bool angleSeen = false;
  std::istringstream lines(text);
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    line = Trim(line);
    if (line.empty()) continue;
    const auto equals = line.find('=');
    const std::string key = equals == std::string::npos ? line : Trim(line.substr(0, equals));
    const std::string value = equals == std::string::npos ? "" : Trim(line.substr(equals + 1));
    const auto fail = [&](const std::string& why) {
      *error = "line " + std::to_string(number) + ": " + why;
      return std::nullopt;
    };
    if (key == "limits") {
      if (value != "on" && value != "off") return fail("limits is on or off, not \"" + value + "\"");
      memory.limitsOn = value == "on";
      continue;
    }
    const std::optional<double> angle = Angle(value);
    if (!angle) return fail(key + " needs an angle within +-80 degrees, not \"" + value + "\"");
    if (key == "angle") {
      memory.angleDeg = *angle;
      angleSeen = true;
    } else if (key == "east_limit") {
      memory.eastLimitDeg = angle;
    } else if (key == "west_limit") {
      memory.westLimitDeg = angle;
    } else if (key.starts_with("position ")) {
      int slot = -1;
      if (std::sscanf(key.c_str() + 9, "%d", &slot) != 1 || slot < 1 || slot > 255)
        return fail("a stored position is numbered 1 to 255: \"" + key + "\"");
      memory.stored[slot] = *angle;
    } else {
      return fail("unknown key \"" + key + "\"");
    }
  }
  if (!angleSeen) {
    *error = "no angle";
    return std::nullopt;
  }
  return memory;
}

}  // namespace sim
