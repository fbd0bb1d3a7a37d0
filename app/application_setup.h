// Everything the process sets up around the application object: the UI
// thread, resources, platform classes, the message box service, signal and
// device-removal routing, and the card (app/card_setup.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/card_setup.h"
#include "app/command_line.h"

namespace devices {
class UdevRemovalWatch;
}

class ApplicationSetup {
 public:
  ApplicationSetup();
  ~ApplicationSetup();

  SetupResult Start(const CommandLine& commandLine, std::string* error);

 private:
  CardInstallation m_card;
  std::unique_ptr<devices::UdevRemovalWatch> m_udevWatch;
  std::uint64_t m_deviceSubscription = 0;
};
