// The card as rx40ctl opens it, in the window's order: the component
// runtime, the card (simulated or real), the tuner looked up by its name,
// then the receive graph built as the Tuner Setting page builds it. Every
// failure is reported on the console in the window's words. The session
// tears the graph down and drops the card when it ends; its removal while
// open asks the running command to stop.
//
// The thread that opens the session runs every command on it.
#pragma once

#include <cstdint>
#include <memory>

#include "app/card_setup.h"
#include "cli/console.h"
#include "cli/stop_request.h"
#include "tuner/receive_graph.h"

namespace devices {
class UdevRemovalWatch;
}

class CardSession {
 public:
  CardSession(Console& console, StopRequest& stop);
  ~CardSession();
  CardSession(const CardSession&) = delete;
  CardSession& operator=(const CardSession&) = delete;

  // True when the graph stands; else the failure was reported.
  bool Open(const CommandLine& commandLine);
  ITuningSpace* TuningSpace() const { return m_graph.TuningSpace(); }

 private:
  Console& m_console;
  StopRequest& m_stop;
  CardInstallation m_card;
  std::unique_ptr<devices::UdevRemovalWatch> m_udevWatch;
  std::uint64_t m_deviceSubscription = 0;
  ReceiveGraph m_graph;
  bool m_runtimeOpen = false;
};
