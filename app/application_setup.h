// Everything the process sets up around the application object: the UI
// thread, resources, platform classes, the message box service, signal and
// device-removal routing, and the simulated card when asked for.
#pragma once

#include <memory>
#include <string>

#include "app/command_line.h"

namespace sim {
class SimCard;
}
namespace devices {
class UdevRemovalWatch;
}

class ApplicationSetup {
 public:
  ApplicationSetup();
  ~ApplicationSetup();

  // false with a reason when the simulated card's FILE cannot be used.
  bool Start(const CommandLine& commandLine, std::string* error);

 private:
  std::shared_ptr<sim::SimCard> m_simCard;
  std::unique_ptr<devices::UdevRemovalWatch> m_udevWatch;
  std::uint64_t m_deviceSubscription = 0;
};
