// The arrival check after "Go": the result line counts the motor's travel
// down, then the reference transponder of the satellite is tuned and the
// line says whether it locked. Driven by the page's dish-motion timer, so
// the page never blocks; a new "Go" replaces a check still running.
#include <mutex>

#include "platform/com/clock.h"
#include "positioner/move_check.h"
#include "positioner/position_dlg.h"
#include "positioner/satellite_list.h"
#include "settings/program_folder.h"
#include "settings/tool_settings.h"
#include "settings/tuner_settings.h"
#include "tuner/signal_statistics.h"
#include "tuner/tuner_context.h"

void CPositionDlg::StartMoveCheck(const std::string& satellite, double targetAngle, std::optional<double> startAngle) {
  m_moveCheck.reset();
  if (!m_tuneReference) return;
  // The count-down takes the line; what was sent stays at hand.
  SetDlgItemToolTip(IDC_POS_USALS_OUTCOME, GetDlgItemText(IDC_POS_USALS_OUTCOME));
  const ReferenceLookup lookup = FindReference(ProgramFile(kTransponderFolderName), satellite);
  if (!lookup.reference) {
    EndMoveCheck(NotVerifiableText(lookup.satellite, lookup.fileFound));
    return;
  }
  const double speed = ReadToolSettings(TunerSettingsPath()).motorSpeedDegPerSecond;
  const int seconds = TravelSeconds(startAngle, targetAngle, speed);
  m_moveCheck = MoveCheck{MoveCheck::Stage::Moving, lookup.satellite, *lookup.reference,
                          TickCountMs() + static_cast<std::uint64_t>(seconds) * 1000};
  SetDlgItemText(IDC_POS_USALS_OUTCOME, MovingText(lookup.satellite, seconds));
}

void CPositionDlg::StepMoveCheck() {
  if (!m_moveCheck) return;
  MoveCheck& check = *m_moveCheck;
  const std::uint64_t now = TickCountMs();
  if (check.stage == MoveCheck::Stage::Moving) {
    if (now < check.dueMs) {
      const int left = static_cast<int>((check.dueMs - now + 999) / 1000);
      const std::string text = MovingText(check.satellite, left);
      if (GetDlgItemText(IDC_POS_USALS_OUTCOME) != text) SetDlgItemText(IDC_POS_USALS_OUTCOME, text);
      return;
    }
    check.stage = MoveCheck::Stage::Locking;
    check.dueMs = now + kReferenceLockWaitMs;
    const ListedTransponder reference = check.reference;
    const std::string satellite = check.satellite;
    // The tune may show a box, whose event loop runs this timer again.
    if (!m_tuneReference(reference)) {
      EndMoveCheck(NotTunedText(reference));
      return;
    }
    if (!m_moveCheck) return;
  }
  TunerContext& context = TheTunerContext();
  SignalReading reading;
  SignalReadOutcome read;
  {
    std::lock_guard driver(context.m_hDriverMutex);
    read = ReadSignalStatistics(context, &reading);
  }
  if (read == SignalReadOutcome::Read && reading.Locked()) {
    EndMoveCheck(ArrivedText(m_moveCheck->reference, reading.quality));
  } else if (read == SignalReadOutcome::NoTopology || now >= m_moveCheck->dueMs) {
    EndMoveCheck(NoLockText(m_moveCheck->satellite));
  }
}

void CPositionDlg::EndMoveCheck(const std::string& outcome) {
  m_moveCheck.reset();
  SetDlgItemText(IDC_POS_USALS_OUTCOME, outcome);
  SetDlgItemToolTip(IDC_POS_USALS_OUTCOME, outcome);
}
