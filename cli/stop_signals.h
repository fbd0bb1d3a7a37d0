// SIGINT and SIGTERM as a stop request, with no work in a signal handler:
// the two signals are blocked in every thread (BlockStopSignals must run
// before the process starts any thread, so that each inherits the mask)
// and a watcher thread reads them from a signalfd. After the first, the
// default action is back for SIGINT, so a second Ctrl-C ends the process
// at once (every byte recorded is already with the operating system).
#pragma once

#include <thread>

#include "cli/stop_request.h"

// False, with errno, when the mask cannot be set.
bool BlockStopSignals();

class StopSignals {
 public:
  // Starts the watcher; without a signalfd (errno set) it watches nothing
  // and Watching() is false.
  explicit StopSignals(StopRequest& stop);
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  bool Watching() const { return m_signalFd >= 0; }

 private:
  void Watch();

  StopRequest& m_stop;
  int m_signalFd = -1;
  int m_quitPipe[2] = {-1, -1};
  std::thread m_thread;
};
