// What the simulated card's driver is told besides its sky: the faults it
// injects into its calls. From tests directly, or from the [driver] section
// of the card's FILE:
//
//   [driver]
//   property_0 = unsupported      (whole property: ok, unsupported,
//   property_13 = negative         negative or positive)
//   property_13_get = ok          (one direction: ok, negative, positive)
//   property_14_set = positive
//   tune = negative               (ok or negative)
//   statistics = negative         (ok or negative)
//
// Properties are 0, 12, 13 and 14; a direction a property lacks (reading 0
// or 14, writing 12) is an error. Keys apply in file order, so a direction
// key after a whole-property key refines it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/sim/sim_ini.h"

namespace sim {

// How a call ends. Negative: it fails and changes nothing. Positive: it does
// its work but returns a positive status (S_FALSE), which some callers take
// for failure.
enum class CallOutcome { Normal, Negative, Positive };

struct PropertyFaults {
  bool unsupported = false;  // QuerySupported, Get and Set all refuse the id
  CallOutcome get = CallOutcome::Normal;
  CallOutcome set = CallOutcome::Normal;
};

struct DriverFaults {
  std::map<uint32_t, PropertyFaults> properties;  // by property id; absent: none
  CallOutcome tune = CallOutcome::Normal;         // Normal or Negative
  CallOutcome statistics = CallOutcome::Normal;   // Normal or Negative
  // A fade (rain, a tree in leaf, a dish knocked): the carrier is gone from
  // fadeAfterMs after the card first locked, for fadeMs (0: for good).
  std::optional<unsigned> fadeAfterMs;
  unsigned fadeMs = 0;

  PropertyFaults For(uint32_t id) const;
};

struct DriverOptions {
  DriverFaults faults;
};

// Reads one [driver] section; errors are "line N: reason".
std::optional<DriverOptions> ParseDriverOptions(const IniSection& section, std::string* error);

}  // namespace sim
