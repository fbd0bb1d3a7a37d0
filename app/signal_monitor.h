// The signal monitor: one cycle about every second reads lock, strength and
// quality from the tuner, publishes the signal-locked flag, has the
// stream-information panel refreshed from the driver's media information,
// shows the readings in the main window's status strip and feeds them to
// its signal history. Runs on its own thread from the end of the main
// window's initialisation until its destroy handler stops it.
#pragma once

#include <cstdint>
#include <optional>

class CBDAUtilDlg;
struct TunerContext;

struct SignalReading {
  std::uint8_t quality = 0;
  std::uint8_t strength = 0;
  std::uint8_t lockByte = 255;  // locked only when 1
  std::optional<double> marginDb;  // when the tuner reports its link margin
  bool Locked() const { return lockByte == 1; }
};

class SignalMonitor {
 public:
  // The thread's body: holds the window's running mutex while it runs.
  static void ThreadMain(CBDAUtilDlg* dialog);

  enum class ReadOutcome { Read, Failed, NoTopology };
  // One statistics read through the tuner filter's control node. The caller
  // holds the driver mutex.
  static ReadOutcome ReadStatistics(TunerContext& context, SignalReading* reading);

 private:
  static void Prepare(CBDAUtilDlg& dialog);
  static void ShowNoDriver(CBDAUtilDlg& dialog);
  // false when the monitor must end (the tuner offers no topology).
  static bool RunCycle(CBDAUtilDlg& dialog);
};
