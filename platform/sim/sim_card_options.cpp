#include "platform/sim/sim_card_options.h"

#include <algorithm>

#include "platform/sim/ini_values.h"

namespace sim {
namespace {

// "ok", "unopenable" (the property bag cannot be opened) or "unreadable"
// (the friendly name cannot be read).
bool ParsePropertyBag(const IniEntry& e, devices::DeviceFaults* faults, std::string* error) {
  faults->propertyBagFails = e.value == "unopenable";
  faults->friendlyNameFails = e.value == "unreadable";
  if (e.value != "ok" && e.value != "unopenable" && e.value != "unreadable") {
    *error = LineOf(e) + e.key + " is ok, unopenable or unreadable, not \"" + e.value + "\"";
    return false;
  }
  return true;
}

enum class KeyOutcome { NotThisDevice, Parsed, Invalid };

KeyOutcome Outcome(bool parsed) { return parsed ? KeyOutcome::Parsed : KeyOutcome::Invalid; }

KeyOutcome ParseDeviceFault(const IniEntry& e, const std::string& device, devices::DeviceFaults* faults,
                            std::string* error) {
  if (e.key == device + "_property_bag") return Outcome(ParsePropertyBag(e, faults, error));
  if (e.key == device + "_bind_fails") return Outcome(ParseYesNo(e, &faults->bindFails, error));
  if (e.key == device + "_appears_at_lookup") {
    unsigned lookup = 1;
    if (!ParseWholeNumber(e, &lookup, error)) return KeyOutcome::Invalid;
    faults->visibleFromEnumeration = static_cast<int>(std::max(1u, lookup));
    return KeyOutcome::Parsed;
  }
  return KeyOutcome::NotThisDevice;
}

}  // namespace

std::optional<SimCardOptions> ParseSimCardOptions(const IniDocument& document, std::string* error) {
  SimCardOptions options;
  for (const auto& section : document.sections) {
    for (const auto& e : section.entries) {
      bool ok = true;
      if (section.name == "card") {
        if (e.key == "present") ok = ParseYesNo(e, &options.present, error);
        else if (e.key == "removal_after_ms") ok = ParseWholeNumber(e, &options.removalAfterMs, error);
        else if (e.key == "trace") options.traceFile = e.value;
        else {
          *error = LineOf(e) + "unknown key \"" + e.key + "\" in [card]";
          return std::nullopt;
        }
      } else if (section.name == "faults") {
        if (e.key == "tuner_input_pin") {
          if (e.value == "ok") options.tunerInputPin = TunerInputPin::Normal;
          else if (e.value == "missing") options.tunerInputPin = TunerInputPin::Missing;
          else if (e.value == "no_property_set") options.tunerInputPin = TunerInputPin::WithoutPropertySet;
          else {
            *error = LineOf(e) + "tuner_input_pin is ok, missing or no_property_set, not \"" + e.value + "\"";
            return std::nullopt;
          }
          continue;
        }
        KeyOutcome outcome = ParseDeviceFault(e, "tuner", &options.tunerFaults, error);
        if (outcome == KeyOutcome::NotThisDevice) outcome = ParseDeviceFault(e, "capture", &options.captureFaults, error);
        if (outcome == KeyOutcome::Invalid) return std::nullopt;
        if (outcome == KeyOutcome::NotThisDevice) {
          *error = LineOf(e) + "unknown key \"" + e.key + "\" in [faults]";
          return std::nullopt;
        }
      }
      if (!ok) return std::nullopt;
    }
  }
  return options;
}

}  // namespace sim
