// The card the program talks to, chosen once at start-up, for the window
// and for rx40ctl alike: the simulated card when asked for (--simulate
// [=FILE]), else a real DVB-S/S2 adapter (--adapter N, or the first one
// found). Installing registers the card's devices with the device
// enumerator; nothing above platform/ knows which backend it is. Dropping
// the installation unregisters them (a real adapter also switches its tone
// and LNB voltage off and closes its frontend).
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

enum class SetupResult {
  Ready,        // the program can start (with or without a card: start-up checks)
  BadOptions,   // the simulated card's FILE cannot be used; error says why
  CardRefused,  // an adapter was found but cannot be used; error is the operator's text
};

// A real card's memory of the parameters each carrier locked with, in the
// program folder.
inline constexpr char kTunedCarriersFile[] = "tuned-carriers.txt";

// The device enumerator and the media platform's classes and devices, which
// every program needs before a card. Once per process.
void RegisterPlatformServices();

class CardInstallation {
 public:
  CardInstallation();
  ~CardInstallation();
  CardInstallation(const CardInstallation&) = delete;
  CardInstallation& operator=(const CardInstallation&) = delete;

  // Without a usable adapter nothing is registered and Ready is returned:
  // the tuner lookup then refuses as without a card.
  SetupResult Install(const CommandLine& commandLine, std::string* error);
  bool IsSimulated() const { return m_simCard != nullptr; }

 private:
  std::shared_ptr<sim::SimCard> m_simCard;
  std::shared_ptr<linuxdvb::LinuxDvbCard> m_dvbCard;
};
