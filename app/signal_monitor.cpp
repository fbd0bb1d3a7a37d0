#include "app/signal_monitor.h"

#include <string>

#include "app/bda_util_dlg.h"
#include "platform/com/clock.h"
#include "resources/resource_ids.h"
#include "tuner/tuner_context.h"
#include "tuner/tuner_extension.h"

void SignalMonitor::ThreadMain(CBDAUtilDlg* dialog) {
  std::lock_guard running(dialog->m_hMonitorRunning);
  dialog->m_bMonitorStarted = true;
  Prepare(*dialog);
  while (dialog->m_nStopMonitor == 0) {
    if (!TheTunerContext().SharedKsCtrl()) {
      ShowNoDriver(*dialog);
      SleepUnless(500, dialog->m_MonitorWake);
    } else if (!RunCycle(*dialog)) {
      break;
    }
  }
  dialog->m_bMonitorEnded = true;
}

void SignalMonitor::Prepare(CBDAUtilDlg& d) {
  d.ProgressSetRange(IDC_QUALITY_BAR, 0, 100);
  d.ProgressSetRange(IDC_STRENGTH_BAR, 0, 100);
  d.SetDlgItemText(IDC_STRENGTH_TEXT, "0");
  d.SetDlgItemText(IDC_QUALITY_TEXT, "0");
  d.ProgressSetPos(IDC_QUALITY_BAR, 0);
  d.ProgressSetPos(IDC_STRENGTH_BAR, 0);
  d.SetIcon(IDC_LOCK_ICON, IDI_UNLOCKED);
}

void SignalMonitor::ShowNoDriver(CBDAUtilDlg& d) {
  d.SetDlgItemText(IDC_LOCK_TEXT, "UNLOCKED");
  d.SetIcon(IDC_LOCK_ICON, IDI_UNLOCKED);
  SignalLockedFlag() = 0;
  d.SetDlgItemText(IDC_STRENGTH_TEXT, "0");
  d.SetDlgItemText(IDC_QUALITY_TEXT, "0");
  d.ProgressSetPos(IDC_QUALITY_BAR, 0);
  d.ProgressSetPos(IDC_STRENGTH_BAR, 0);
}

bool SignalMonitor::RunCycle(CBDAUtilDlg& d) {
  TunerContext& context = TheTunerContext();
  SignalReading reading;
  {
    std::lock_guard driver(context.m_hDriverMutex);
    if (ReadSignalStatistics(context, &reading) == SignalReadOutcome::NoTopology) return false;
  }
  const std::string quality = std::to_string(reading.quality);
  const std::string strength = std::to_string(reading.strength);
  const bool locked = reading.Locked();
  d.SetIcon(IDC_LOCK_ICON, locked ? IDI_LOCKED : IDI_UNLOCKED);
  SignalLockedFlag() = locked ? 1 : 0;
  QueryMediaInfo(&d, locked, &d.m_StreamInfo);
  d.SetDlgItemText(IDC_LOCK_TEXT, locked ? "LOCKED" : "UNLOCKED");
  d.SetDlgItemText(IDC_STRENGTH_TEXT, strength);
  d.SetDlgItemText(IDC_QUALITY_TEXT, quality);
  d.ProgressSetPos(IDC_QUALITY_BAR, reading.quality);
  d.ProgressSetPos(IDC_STRENGTH_BAR, reading.strength);
  d.m_Trend.Record({TickCountMs(), reading.quality, reading.strength, locked, reading.marginDb});
  if (SleepUnless(1000, d.m_MonitorWake)) return true;  // stopping: the loop ends
  if (!(locked && reading.quality > 10 && reading.strength > 10)) {
    { std::lock_guard driver(context.m_hDriverMutex); }
    SleepUnless(500, d.m_MonitorWake);
  }
  return true;
}
