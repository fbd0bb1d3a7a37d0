// What the simulated card is told by its FILE: whether it is installed, how
// its devices misbehave, when it is unplugged. The [card] and [faults]
// sections; other sections belong to other parts of the card.
#pragma once

#include <optional>
#include <string>

#include "platform/devices/device_registry.h"
#include "platform/sim/sim_ini.h"

namespace sim {

// How the tuner's input pin looks to the program.
enum class TunerInputPin {
  Normal,              // "Input0", with the driver's property set
  Missing,             // no pin whose name contains "Input0"
  WithoutPropertySet,  // "Input0", but the property set cannot be had from it
};

struct SimCardOptions {
  bool present = true;
  devices::DeviceFaults tunerFaults;
  devices::DeviceFaults captureFaults;
  TunerInputPin tunerInputPin = TunerInputPin::Normal;
  // The card is unplugged this long after it was installed; 0: never.
  unsigned removalAfterMs = 0;
  std::string traceFile;
};

// Reads [card] and [faults]; unknown keys there are errors.
std::optional<SimCardOptions> ParseSimCardOptions(const IniDocument& document, std::string* error);

}  // namespace sim
