#include "platform/sim/ini_values.h"

#include <charconv>
#include <sstream>

namespace sim {

std::string LineOf(const IniEntry& entry) { return "line " + std::to_string(entry.line) + ": "; }

std::string LineOf(const IniSection& section) { return "line " + std::to_string(section.line) + ": "; }

bool ParseYesNo(const IniEntry& e, bool* out, std::string* error) {
  if (e.value == "yes" || e.value == "true" || e.value == "1") *out = true;
  else if (e.value == "no" || e.value == "false" || e.value == "0") *out = false;
  else {
    *error = LineOf(e) + e.key + " is yes or no, not \"" + e.value + "\"";
    return false;
  }
  return true;
}

namespace {

template <typename Number>
bool ParseWhole(const IniEntry& e, Number* out, std::string* error) {
  const char* end = e.value.data() + e.value.size();
  auto [ptr, ec] = std::from_chars(e.value.data(), end, *out);
  if (ec != std::errc() || ptr != end || e.value.empty()) {
    *error = LineOf(e) + e.key + " needs a whole number, not \"" + e.value + "\"";
    return false;
  }
  return true;
}

}  // namespace

bool ParseWholeNumber(const IniEntry& e, unsigned* out, std::string* error) { return ParseWhole(e, out, error); }

bool ParseWholeNumber(const IniEntry& e, std::uint64_t* out, std::string* error) { return ParseWhole(e, out, error); }

bool ParseDecimal(const IniEntry& e, double low, double high, double* out, std::string* error) {
  const char* end = e.value.data() + e.value.size();
  double value = 0;
  auto [ptr, ec] = std::from_chars(e.value.data(), end, value, std::chars_format::fixed);
  if (ec != std::errc() || ptr != end || e.value.empty() || !(value >= low && value <= high)) {
    std::ostringstream reason;
    reason << LineOf(e) << e.key << " is a number from " << low << " to " << high << ", not \"" << e.value << "\"";
    *error = reason.str();
    return false;
  }
  *out = value;
  return true;
}

}  // namespace sim
