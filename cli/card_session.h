// The card as rx40ctl opens it, in the window's order: the component
// runtime, the card (simulated or real), the tuner looked up by its name,
// then the receive graph built as the Tuner Setting page builds it. Every
// failure is reported on the console in the window's words. The session
// tears the graph down and drops the card when it ends; its removal while
// open asks the running command to stop.
//
// The thread that opens the session runs every command on it.
#pragma once

#include <atomic>
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
  // What the card's removal does: end the running command (every command
  // but the monitor), or only mark the session as without its card.
  enum class OnRemoval { StopCommand, MarkRemoved };

  CardSession(Console& console, StopRequest& stop, OnRemoval onRemoval = OnRemoval::StopCommand);
  ~CardSession();
  CardSession(const CardSession&) = delete;
  CardSession& operator=(const CardSession&) = delete;

  // True when the graph stands; else the failure was reported.
  bool Open(const CommandLine& commandLine);
  ITuningSpace* TuningSpace() const { return m_graph.TuningSpace(); }
  // The card was removed since Open (with OnRemoval::MarkRemoved).
  bool Removed() const { return m_removed.load(); }

 private:
  Console& m_console;
  StopRequest& m_stop;
  const OnRemoval m_onRemoval;
  std::atomic<bool> m_removed{false};
  CardInstallation m_card;
  std::unique_ptr<devices::UdevRemovalWatch> m_udevWatch;
  std::uint64_t m_deviceSubscription = 0;
  ReceiveGraph m_graph;
  bool m_runtimeOpen = false;
};
