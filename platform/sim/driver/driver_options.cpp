#include "platform/sim/driver/driver_options.h"

#include <charconv>

#include "platform/sim/driver/extension_properties.h"
#include "platform/sim/ini_values.h"

namespace sim {
namespace {

std::optional<CallOutcome> ParseOutcome(const std::string& value, bool allowPositive) {
  if (value == "ok") return CallOutcome::Normal;
  if (value == "negative") return CallOutcome::Negative;
  if (value == "positive" && allowPositive) return CallOutcome::Positive;
  return std::nullopt;
}

// "property_N", "property_N_get" or "property_N_set".
struct PropertyKey {
  uint32_t id = 0;
  enum { Whole, Get, Set } part = Whole;
};

std::optional<PropertyKey> ParsePropertyKey(const std::string& key) {
  constexpr std::string_view prefix = "property_";
  if (key.rfind(prefix, 0) != 0) return std::nullopt;
  PropertyKey parsed;
  const char* begin = key.data() + prefix.size();
  const char* end = key.data() + key.size();
  const auto [stop, ec] = std::from_chars(begin, end, parsed.id);
  if (ec != std::errc() || stop == begin) return std::nullopt;
  const std::string_view rest(stop, end - stop);
  if (rest == "_get") parsed.part = PropertyKey::Get;
  else if (rest == "_set") parsed.part = PropertyKey::Set;
  else if (!rest.empty()) return std::nullopt;
  return parsed;
}

bool ApplyPropertyKey(const IniEntry& e, const PropertyKey& key, DriverFaults* faults, std::string* error) {
  const DWORD directions = PropertyDirections(key.id);
  if (directions == 0) {
    *error = LineOf(e) + e.key + ": the card has no property " + std::to_string(key.id) + " (0, 12, 13 or 14)";
    return false;
  }
  PropertyFaults& property = faults->properties[key.id];
  if (key.part == PropertyKey::Whole) {
    if (e.value == "unsupported") {
      property.unsupported = true;
      return true;
    }
    const auto outcome = ParseOutcome(e.value, true);
    if (!outcome) {
      *error = LineOf(e) + e.key + " is ok, unsupported, negative or positive, not \"" + e.value + "\"";
      return false;
    }
    property = PropertyFaults{false, *outcome, *outcome};
    return true;
  }
  const bool isGet = key.part == PropertyKey::Get;
  if (!(directions & (isGet ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET))) {
    *error = LineOf(e) + "property " + std::to_string(key.id) + " cannot be " + (isGet ? "read" : "written");
    return false;
  }
  const auto outcome = ParseOutcome(e.value, true);
  if (!outcome) {
    *error = LineOf(e) + e.key + " is ok, negative or positive, not \"" + e.value + "\"";
    return false;
  }
  (isGet ? property.get : property.set) = *outcome;
  return true;
}

}  // namespace

PropertyFaults DriverFaults::For(uint32_t id) const {
  const auto it = properties.find(id);
  return it == properties.end() ? PropertyFaults{} : it->second;
}

std::optional<DriverOptions> ParseDriverOptions(const IniSection& section, std::string* error) {
  DriverOptions options;
  for (const IniEntry& e : section.entries) {
    if (const auto key = ParsePropertyKey(e.key)) {
      if (!ApplyPropertyKey(e, *key, &options.faults, error)) return std::nullopt;
      continue;
    }
    if (e.key == "tune" || e.key == "statistics") {
      const auto outcome = ParseOutcome(e.value, false);
      if (!outcome) {
        *error = LineOf(e) + e.key + " is ok or negative, not \"" + e.value + "\"";
        return std::nullopt;
      }
      (e.key == "tune" ? options.faults.tune : options.faults.statistics) = *outcome;
      continue;
    }
    if (e.key == "fade_after_ms") {
      unsigned after = 0;
      if (!ParseWholeNumber(e, &after, error)) return std::nullopt;
      options.faults.fadeAfterMs = after;
      continue;
    }
    if (e.key == "fade_ms") {
      if (!ParseWholeNumber(e, &options.faults.fadeMs, error)) return std::nullopt;
      continue;
    }
    *error = LineOf(e) + "unknown key \"" + e.key + "\" in [driver]";
    return std::nullopt;
  }
  return options;
}

}  // namespace sim
