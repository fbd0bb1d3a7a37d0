#include "recording/capture_control_dlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

#include "platform/com/clock.h"
#include "platform/com/error_info.h"
#include "platform/ui/debug_output.h"
#include "platform/ui/file_dialog.h"
#include "recording/capture_progress.h"
#include "recording/free_space.h"
#include "recording/recording_health.h"
#include "recording/recording_state.h"
#include "resources/resource_ids.h"
#include "tuner/tuner_context.h"

namespace {

constexpr char kRecordFileName[] = "Lumo-capture.ts";
constexpr char kStartedText[] = "Record is started! Please wait or cancel record.";
constexpr int kLimitFields[] = {IDC_TIME_LIMIT, IDC_SIZE_LIMIT};

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

std::string DefaultRecordPath() {
  std::string home;
  if (const char* env = std::getenv("HOME"); env && *env) home = env;
  else if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_dir) home = account->pw_dir;
  if (home.empty()) return kRecordFileName;
  if (home.back() != '/') home += '/';
  return home + kRecordFileName;
}

CUtiVirtualDamonDlg::CUtiVirtualDamonDlg() : CPropertyPage(IDD_CAPTURE_CONTROL), m_strFilePath(DefaultRecordPath()) {}

CUtiVirtualDamonDlg::~CUtiVirtualDamonDlg() { DestroyWindow(); }

void CUtiVirtualDamonDlg::ConnectMessageMap() {
  // A refused value keeps its flag until the operator edits it; an edit
  // counts once the operator leaves the field (Enter is seen in
  // PreTranslateMessage, before the page swallows it).
  for (int id : kLimitFields)
    if (auto* edit = qobject_cast<QLineEdit*>(GetDlgItem(id))) {
      QObject::connect(edit, &QLineEdit::textEdited, edit, [this, id] {
        FlagDlgItem(id, "");
        m_UncommittedFields.insert(id);
      });
      QObject::connect(edit, &QLineEdit::editingFinished, edit, [this, id] { CommitLimitField(id); });
    }
  OnClicked(IDC_USE_SIZE_LIMIT, [this] { OnFileSizeLimit(); });
  OnClicked(IDC_USE_TIME_LIMIT, [this] { OnTimeLimit(); });
  OnClicked(IDC_BROWSE, [this] { OnBrowse(); });
  OnClicked(IDC_START_RECORD, [this] { OnStartRecord(); });
  OnClicked(IDC_CANCEL_RECORD, [this] { OnCancelRecord(); });
}

void CUtiVirtualDamonDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_RECORD_PATH, m_strFilePath);
  const auto exchanged = [&](int id) {
    return !pDX->m_bSaveAndValidate || (IsLimitInUse(id) && !m_UncommittedFields.count(id));
  };
  if (exchanged(IDC_TIME_LIMIT)) DDX_Text(pDX, IDC_TIME_LIMIT, m_nTimeLimit, kTimeLimitRange);
  if (exchanged(IDC_SIZE_LIMIT)) DDX_Text(pDX, IDC_SIZE_LIMIT, m_nSizeLimit, kSizeLimitRange);
}

bool CUtiVirtualDamonDlg::IsLimitInUse(int id) const {
  return id == (m_bSizeLimitMode ? IDC_SIZE_LIMIT : IDC_TIME_LIMIT);
}

void CUtiVirtualDamonDlg::CommitLimitField(int id) {
  if (!m_UncommittedFields.erase(id)) return;
  if (m_bRecording) ReadFieldsQuietly();
}

bool CUtiVirtualDamonDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_bSizeLimitMode = true;
  EnableDlgItem(IDC_SIZE_LIMIT, true);
  EnableDlgItem(IDC_TIME_LIMIT, false);
  CheckDlgButton(IDC_USE_SIZE_LIMIT, true);
  CheckDlgButton(IDC_USE_TIME_LIMIT, false);
  m_bRecording = false;
  ProgressSetRange(IDC_RECORD_PROGRESS, 0, 100);
  m_Limit.Restart();
  SetDlgItemText(IDC_LIMIT_CAPTION, "File Size:");
  SetDlgItemText(IDC_LIMIT_LINE, "0 KBytes");
  UpdateData(false);
  return true;
}

void CUtiVirtualDamonDlg::OnDestroy() {
  // The graph may already be gone; the file is closed all the same, with
  // everything received so far.
  if (m_bRecording) {
    m_bRecording = false;
    KillTimer(kRecordTimer);
    StopRecording();
  }
}

bool CUtiVirtualDamonDlg::PreTranslateMessage(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const QWidget* focus = QApplication::focusWidget();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && qobject_cast<const QLineEdit*>(focus) &&
        Widget()->isAncestorOf(focus)) {
      for (int id : kLimitFields)
        if (focus == GetDlgItem(id)) CommitLimitField(id);
      return true;
    }
  }
  return CPropertyPage::PreTranslateMessage(event);
}

void CUtiVirtualDamonDlg::OnFileSizeLimit() {
  EnableDlgItem(IDC_TIME_LIMIT, false);
  EnableDlgItem(IDC_SIZE_LIMIT, true);
  CheckDlgButton(IDC_USE_SIZE_LIMIT, true);
  CheckDlgButton(IDC_USE_TIME_LIMIT, false);
  m_bSizeLimitMode = true;
  SetDlgItemText(IDC_LIMIT_CAPTION, "File Size:");
  SetDlgItemText(IDC_LIMIT_LINE, "0 KBytes");
}

void CUtiVirtualDamonDlg::OnTimeLimit() {
  EnableDlgItem(IDC_TIME_LIMIT, true);
  EnableDlgItem(IDC_SIZE_LIMIT, false);
  CheckDlgButton(IDC_USE_SIZE_LIMIT, false);
  CheckDlgButton(IDC_USE_TIME_LIMIT, true);
  m_bSizeLimitMode = false;
  SetDlgItemText(IDC_LIMIT_CAPTION, "Time Left:");
  SetDlgItemText(IDC_LIMIT_LINE, "0 Seconds");
}

void CUtiVirtualDamonDlg::OnBrowse() {
  // Linux names are case-sensitive: the suffix matches the filter's "*.ts".
  CFileDialog dialog("ts", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter, this,
                     FolderOf(GetDlgItemText(IDC_RECORD_PATH)));
  if (dialog.DoModal() != IDOK) return;
  m_strFilePath = dialog.GetPathName();
  SetDlgItemText(IDC_RECORD_PATH, m_strFilePath);
}

void CUtiVirtualDamonDlg::OnStartRecord() {
  if (m_bRecording) {
    // The recording may end while the box is up; the stop then closes it.
    m_bStartedBoxOpen = true;
    AfxMessageBox(kStartedText, MB_ICONEXCLAMATION);
    m_bStartedBoxOpen = false;
    return;
  }
  if (SignalLockedFlag().load() == 0) {
    AfxMessageBox("Signal is not locked! Please check signal first.", MB_ICONEXCLAMATION);
    return;
  }
  m_bRecording = true;
  ClearFieldFlags();
  m_UncommittedFields.clear();  // Start reads what the fields show
  CDataExchange exchange(this, true);
  if (!UpdateData(exchange)) {
    // The prompt was shown and the field has the focus; it stays flagged.
    FlagDlgItem(exchange.FailedControl(), exchange.FailedPrompt());
    m_bRecording = false;
    return;
  }
  if (!SizeLimitFitsOrUserGoesOn()) {
    m_bRecording = false;
    return;
  }
  SetRecordFilePath(m_strFilePath);
  m_bWriteErrorReported = false;
  m_bSpaceChecked = m_bSizeLimitMode;
  ClearErrorDescription();
  if (FAILED(StartRecording())) {
    // The file could not be made, or the graph would not run (the file was
    // then closed again): nothing records, and the page says why.
    m_bRecording = false;
    SetDlgItemText(IDC_RECORD_HEALTH, "");  // the last recording's counts are not this one's
    if (const auto error = RecordingCreateError()) {
      SetDlgItemText(IDC_RECORD_STATUS, "Create error: " + std::string(std::strerror(error->error)));
      AfxMessageBox(DescribeCreateError(*error), MB_ICONEXCLAMATION);
    } else {
      SetDlgItemText(IDC_RECORD_STATUS, "The receive graph cannot run");
      MessageBox(this, "The receive graph cannot run, so nothing is recorded. Tune the card again (Lock TP) and retry.",
                 AfxGetAppName(), MB_ICONEXCLAMATION, TakeErrorDescription());
    }
    return;
  }
  m_Limit.Restart();
  m_RecordStartMs = TickCountMs();
  m_Silence.Restart(m_RecordStartMs);
  SetTimer(kRecordTimer, kRecordTimerMs);
}

bool CUtiVirtualDamonDlg::SizeLimitFitsOrUserGoesOn() {
  if (!m_bSizeLimitMode) return true;
  const auto free = FreeBytesFor(m_strFilePath);
  if (!free) return true;
  const auto shortfall = SpaceShortfall(m_strFilePath, BytesForSizeLimit(m_nSizeLimit), *free);
  if (!shortfall) return true;
  return MessageBox(this, *shortfall + " Record anyway?", AfxGetAppName(),
                    MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void CUtiVirtualDamonDlg::CheckSpaceForTimeLimit() {
  if (m_bSpaceChecked || !m_bRecording || m_bSizeLimitMode) return;
  const std::uint64_t elapsedMs = TickCountMs() - m_RecordStartMs;
  if (elapsedMs < kRateMeasureMs) return;
  m_bSpaceChecked = true;  // before the box: ticks go on under it
  const auto free = FreeBytesFor(m_strFilePath);
  if (!free) return;
  const std::uint64_t needed = BytesForRestOfTimeLimit(RecordedBytes(), elapsedMs, m_nTimeLimit);
  if (const auto shortfall = SpaceShortfall(m_strFilePath, needed, *free))
    MessageBox(this, *shortfall + " The recording goes on; it stops with what fits if the disk fills.",
               AfxGetAppName(), MB_ICONEXCLAMATION);
}

void CUtiVirtualDamonDlg::OnCancelRecord() {
  if (!m_bRecording) {
    AfxMessageBox("Record is not started!", MB_ICONEXCLAMATION);
    return;
  }
  StopProcedure();
  CheckWriteError();
}

void CUtiVirtualDamonDlg::StopProcedure() {
  m_bRecording = false;
  m_Limit.Restart();
  KillTimer(kRecordTimer);
  StopRecording();
  ProgressSetPos(IDC_RECORD_PROGRESS, 0);
  SetDlgItemText(IDC_RECORD_STATUS, "Record Stopped!");
  ShowHealth();  // the final counts: everything delivered is in the file now
  if (m_bStartedBoxOpen) DismissBoxes(kStartedText);
}

void CUtiVirtualDamonDlg::OnTimer(int timerId) {
  ReadFieldsQuietly();
  if (timerId != kRecordTimer) {
    CPropertyPage::OnTimer(timerId);
    return;
  }
  KillTimer(kRecordTimer);
  const RecordingHealth health = ReadRecordingHealth();
  const std::uint32_t silent = m_Silence.Observe(health.bytesWritten, TickCountMs());
  TickLimit(health, silent);
  if (m_bRecording) SetDlgItemText(IDC_RECORD_HEALTH, RecordingHealthLine(health, silent));
  CheckWriteError();
  if (m_bRecording) SetTimer(kRecordTimer, kRecordTimerMs);
  CheckSpaceForTimeLimit();
}

void CUtiVirtualDamonDlg::TickLimit(const RecordingHealth& health, std::uint32_t silentSeconds) {
  const LimitTick tick =
      m_Limit.Tick(m_bSizeLimitMode ? LimitMode::FileSize : LimitMode::Time, m_nSizeLimit, m_nTimeLimit);
  SetDlgItemText(IDC_LIMIT_LINE, tick.line);
  if (tick.Reached()) {
    StopProcedure();
    return;
  }
  const std::string status = RecordingStatus(tick.percent);
  SetDlgItemText(IDC_RECORD_STATUS, RecordingStatusLine(tick.percent, health, silentSeconds));
  if (m_bSizeLimitMode) OutputDebugString(status);  // only size-limit ticks write the debug line
  ProgressSetPos(IDC_RECORD_PROGRESS, static_cast<int>(tick.percent));
}

void CUtiVirtualDamonDlg::ReadFieldsQuietly() {
  CDataExchange exchange(this, true, CDataExchange::Prompting::Quiet);
  UpdateData(exchange);
  for (int id : kLimitFields) {
    if (m_UncommittedFields.count(id)) continue;  // being typed: judged when committed
    FlagDlgItem(id, id == exchange.FailedControl() ? exchange.FailedPrompt() : "");
  }
}

void CUtiVirtualDamonDlg::ClearFieldFlags() {
  for (int id : kLimitFields) FlagDlgItem(id, "");
}

void CUtiVirtualDamonDlg::CheckWriteError() {
  if (m_bWriteErrorReported) return;
  const auto error = RecordingWriteError();
  if (!error) return;
  m_bWriteErrorReported = true;
  if (m_bRecording) StopProcedure();
  SetDlgItemText(IDC_RECORD_STATUS, WriteErrorStatus(error->error));
  AfxMessageBox(DescribeWriteFailure(*error, RecordedBytes()), MB_ICONEXCLAMATION);
}

void CUtiVirtualDamonDlg::ShowHealth() { SetDlgItemText(IDC_RECORD_HEALTH, DescribeRecordingHealth(ReadRecordingHealth())); }
