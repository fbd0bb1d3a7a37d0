// What the simulated card is told by its FILE: whether it is installed, how
// its devices misbehave, when it is unplugged. The [card] and [faults]
// sections; other sections belong to other parts of the card.
#pragma once

#include <optional>
#include <string>

#include "platform/devices/device_registry.h"
#include "platform/sim/sim_ini.h"

namespace sim {

struct SimCardOptions {
  bool present = true;
  devices::DeviceFaults tunerFaults;
  devices::DeviceFaults captureFaults;
  // The card is unplugged this long after it was installed; 0: never.
  unsigned removalAfterMs = 0;
  std::string traceFile;
};

// Reads [card] and [faults]; unknown keys there are errors.
std::optional<SimCardOptions> ParseSimCardOptions(const IniDocument& document, std::string* error);

}  // namespace sim
