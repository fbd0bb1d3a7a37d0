#include "app/bda_util_dlg.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <filesystem>

#include "app/about_dlg.h"
#include "app/application_version.h"
#include "settings/program_folder.h"
#include "app/signal_monitor.h"
#include "platform/devices/device_notifications.h"
#include "platform/ui/qt_services.h"
#include "platform/ui/resource_registry.h"
#include "platform/ui/ui_thread.h"
#include "resources/resource_ids.h"
#include "tuner/card_capabilities.h"

CBDAUtilDlg::CBDAUtilDlg() : CDialog(IDD_MAIN_DIALOG) {}

CBDAUtilDlg::~CBDAUtilDlg() {
  // Runs the destroy handlers while the pages still exist.
  DestroyWindow();
  if (m_MonitorThread.joinable()) m_MonitorThread.join();
}

bool CBDAUtilDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  AddAboutMenuItem();
  Widget()->setWindowIcon(ui::LoadIcon(IDR_MAINFRAME));
  SetWindowText("OrvaneRX40 Tessel - Version: " + ApplicationVersionText());
  SetDlgItemText(IDC_LOCK_TEXT, "unlock");
  SetDlgItemText(IDC_STRENGTH_TEXT, "0");
  SetDlgItemText(IDC_QUALITY_TEXT, "0");

  m_Sheet.AddPage(&m_TunerPage);
  m_Sheet.AddPage(&m_CapturePage);
  m_Sheet.AddPage(&m_PositionPage);
  // A move's arrival is checked on the Tuner Setting page, so the window
  // shows the transponder the card ends up on.
  m_PositionPage.SetReferenceTuner([this](const ListedTransponder& reference) {
    return m_TunerPage.TuneTransponder(reference.frequencyMHz, reference.symbolRateKs, reference.Polarity());
  });
  m_Sheet.Create(this);
  PlaceSheet();
  m_Trend.Attach(*this, qobject_cast<QTabWidget*>(m_Sheet.Widget()));
  StartMonitor();
  return true;
}

// Linux window managers offer no system menu a program can extend, so the
// About item sits in the window's context menu (right click).
void CBDAUtilDlg::AddAboutMenuItem() {
  const std::string text = ui::LoadString(IDS_ABOUTBOX);
  if (text.empty()) return;
  auto* separator = new QAction(Widget());
  separator->setSeparator(true);
  auto* about = new QAction(QString::fromStdString(text), Widget());
  about->setObjectName(QStringLiteral("about"));
  QObject::connect(about, &QAction::triggered, about, [this] { OnAbout(); });
  // What the card's tuners can do: its driver's capabilities, statistics and
  // supply, for the operator of a real card.
  auto* capabilities = new QAction(QStringLiteral("Card capabilities..."), Widget());
  capabilities->setObjectName(QStringLiteral("capabilities"));
  QObject::connect(capabilities, &QAction::triggered, capabilities, [this] { OnCardCapabilities(); });
  Widget()->addAction(separator);
  Widget()->addAction(about);
  Widget()->addAction(capabilities);
  Widget()->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void CBDAUtilDlg::OnCardCapabilities() {
  const auto reports = ReadCardCapabilities();
  MessageBox(this, reports ? CapabilitiesText(*reports) : "The card's tuner gives no capability report.",
             AfxGetAppName(), MB_OK | MB_ICONINFORMATION);
}

void CBDAUtilDlg::ConnectMessageMap() {
  OnClicked(IDC_APPLY, [this] { OnApply(); });
}

void CBDAUtilDlg::OnApply() { m_StreamInfo.Apply(); }

void CBDAUtilDlg::OnAbout() {
  CAboutDlg about;
  about.DoModal();
}

// The sheet fills the band between the banner and the status strip's line.
void CBDAUtilDlg::PlaceSheet() {
  const QRect banner = GetDlgItem(IDC_BANNER)->geometry();
  const QRect line = GetDlgItem(IDC_SHEET_BOTTOM_LINE)->geometry();
  m_Sheet.MoveWindow(QRect(0, banner.height() + 2, line.width(), line.top() - (banner.bottom() + 1)));
}

void CBDAUtilDlg::StartMonitor() {
  m_nStopMonitor = 0;
  m_MonitorWake.Reset();
  m_MonitorThread = std::thread(&SignalMonitor::ThreadMain, this);
}

// Waits for the monitor's end while still serving the window calls it makes,
// or the two threads would block each other.
void CBDAUtilDlg::StopMonitor() {
  if (!m_MonitorThread.joinable()) return;
  m_nStopMonitor = 1;
  m_MonitorWake.Set();
  ui::WaitProcessingEvents([this] {
    if (!m_bMonitorStarted) return false;
    std::unique_lock running(m_hMonitorRunning, std::try_to_lock);
    return running.owns_lock();
  });
  m_MonitorThread.join();
}

void CBDAUtilDlg::OnDestroy() { StopMonitor(); }

void CBDAUtilDlg::OnHelp() {
  // The named help file where one is installed, else the tool's own page.
  const std::string named = ProgramFile(kNamedHelpFile);
  const std::string page = ProgramFile(kHelpPageFile);
  if (std::filesystem::exists(named)) {
    ui::ShellOpen(named, ProgramFolder());
  } else if (std::filesystem::exists(page)) {
    ui::ShellOpen(page, ProgramFolder());
  } else {
    AfxMessageBox(std::string("No help found: neither ") + kNamedHelpFile + " nor " + kHelpPageFile + " is in " +
                      ProgramFolder(),
                  MB_ICONEXCLAMATION);
  }
}

// Enter on the window's own controls (the input stream list) would end the
// program, and with it a recording; only a focused button takes Enter.
// Escape never ends the window, whatever has the focus.
bool CBDAUtilDlg::PreTranslateMessage(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !qobject_cast<QPushButton*>(QApplication::focusWidget()))
      return true;
    if (key == Qt::Key_Escape) return true;
  }
  return CDialog::PreTranslateMessage(event);
}

void CBDAUtilDlg::OnClose() {
  if (m_CapturePage.IsRecording() &&
      MessageBox(this, "A recording is running. Stop it and quit?", AfxGetAppName(),
                 MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
    return;
  OnCancel();
}

void CBDAUtilDlg::OnLButtonDown(QPoint) { StartWindowDrag(); }

LRESULT CBDAUtilDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DEVICECHANGE &&
      (wParam == devices::DBT_DEVICEREMOVEPENDING || wParam == devices::DBT_DEVICEREMOVECOMPLETE)) {
    OnOK();
    return 0;
  }
  return CDialog::DefWindowProc(message, wParam, lParam);
}
