// Everything the process sets up around the application object: the UI
// thread, resources, platform classes, the message box service, signal and
// device-removal routing, and the card: the simulated one when asked for,
// else a real DVB-S/S2 adapter when the system has one.
#pragma once

#include <memory>
#include <string>

#include "app/command_line.h"

namespace sim {
class SimCard;
}
namespace linuxdvb {
class LinuxDvbCard;
}
namespace devices {
class UdevRemovalWatch;
}

enum class SetupResult {
  Ready,        // the program can start (with or without a card: start-up checks)
  BadOptions,   // the simulated card's FILE cannot be used; error says why
  CardRefused,  // an adapter was found but cannot be used; error is the operator's text
};

class ApplicationSetup {
 public:
  ApplicationSetup();
  ~ApplicationSetup();

  SetupResult Start(const CommandLine& commandLine, std::string* error);

 private:
  std::shared_ptr<sim::SimCard> m_simCard;
  std::shared_ptr<linuxdvb::LinuxDvbCard> m_dvbCard;
  std::unique_ptr<devices::UdevRemovalWatch> m_udevWatch;
  std::uint64_t m_deviceSubscription = 0;
};
