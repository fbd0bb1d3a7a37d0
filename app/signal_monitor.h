// The signal monitor: one cycle about every second reads lock, strength and
// quality from the tuner, publishes the signal-locked flag, has the
// stream-information panel refreshed from the driver's media information,
// shows the readings in the main window's status strip and feeds them to
// its signal history. Runs on its own thread from the end of the main
// window's initialisation until its destroy handler stops it.
#pragma once

#include "tuner/signal_statistics.h"

class CBDAUtilDlg;

class SignalMonitor {
 public:
  // The thread's body: holds the window's running mutex while it runs.
  static void ThreadMain(CBDAUtilDlg* dialog);

 private:
  static void Prepare(CBDAUtilDlg& dialog);
  static void ShowNoDriver(CBDAUtilDlg& dialog);
  // false when the monitor must end (the tuner offers no topology).
  static bool RunCycle(CBDAUtilDlg& dialog);
};
