// What a dish positioner keeps when the power goes: where the dish is (or
// will be, once a move in progress ends), its limits and its stored
// positions. The simulated card writes it to the program folder when a
// program ends and reads it at the next start, as a real motor keeps its
// dish where it was left; the file is plain "key = value" lines:
//   angle = -17.00          degrees from the reference, positive west
//   east_limit = -40.00     optional
//   west_limit = 35.50      optional
//   limits = on | off
//   position 3 = 12.25      one line per stored position
#pragma once

#include <map>
#include <optional>
#include <string>

namespace sim {

inline constexpr char kMotorMemoryFile[] = "simulated-dish.txt";

struct MotorMemory {
  double angleDeg = 0;
  std::optional<double> eastLimitDeg;
  std::optional<double> westLimitDeg;
  bool limitsOn = false;
  std::map<int, double> stored;
  bool operator==(const MotorMemory&) const = default;
};

std::string MotorMemoryText(const MotorMemory& memory);
// None, with the line and reason in error, for text that does not read.
std::optional<MotorMemory> ParseMotorMemory(const std::string& text, std::string* error);

}  // namespace sim
