#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QKeyEvent>
#include <QTabWidget>
#include <filesystem>
#include <fstream>

#include "app/about_dlg.h"
#include "app/application_version.h"
#include "app/bda_util_app.h"
#include "app/bda_util_dlg.h"
#include "settings/program_folder.h"
#include "tests/support/message_box_recorder.h"
#include "platform/devices/device_notifications.h"
#include "platform/media/bda_interfaces.h"
#include "platform/ui/qt_services.h"
#include "resources/resource_ids.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/ui_test_helpers.h"
#include "tuner/tuner_context.h"

namespace {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    m_subscription = devices::SubscribeDeviceChanges([](std::uint32_t code) { BroadcastDeviceChange(code); });
  }
  void TearDown() override {
    devices::UnsubscribeDeviceChanges(m_subscription);
    SetApplicationExecutablePath("/proc/self/exe");
  }

  SimulatedPlatform m_platform;
  InstantClock& m_clock = m_platform.Clock();
  MessageBoxRecorder& m_boxes = m_platform.Boxes();
  devices::SubscriptionId m_subscription = 0;
};

TEST_F(MainWindowTest, WithoutTheCardOnlyTheRefusalBoxIsShownAfterTheOneSecondWait) {
  m_platform.Card().Remove();
  CBDAUtilApp app(m_platform.Folder());
  bool windowSeen = false;
  WhenModalRuns([&] { windowSeen = FindOpenDialog(IDD_MAIN_DIALOG) != nullptr; });
  EXPECT_FALSE(app.InitInstance());
  EXPECT_NE(app.ExitCode(), 0);
  ASSERT_EQ(m_boxes.Boxes().size(), 1u);
  EXPECT_EQ(m_boxes.Boxes()[0].text, "Not found Orvane RX40 DVBS Card!");
  EXPECT_EQ(m_boxes.Boxes()[0].caption, "OrvaneRX40 Tessel");
  EXPECT_EQ(m_boxes.Boxes()[0].owner, nullptr);
  ASSERT_FALSE(m_clock.Sleeps().empty());
  EXPECT_EQ(m_clock.Sleeps()[0], 1000u);
  QApplication::processEvents();
  EXPECT_FALSE(windowSeen);
}

TEST_F(MainWindowTest, OpensWithCaptionStatusStripAndThreeTabsBetweenBannerAndLine) {
  CBDAUtilApp app(m_platform.Folder());
  std::string caption, lockText, strength, quality;
  QStringList tabs;
  QRect sheet, banner, line;
  WhenModalRuns([&] {
    auto* dialog = static_cast<CBDAUtilDlg*>(FindOpenDialog(IDD_MAIN_DIALOG));
    ASSERT_NE(dialog, nullptr);
    caption = dialog->GetWindowText();
    auto* tabWidget = qobject_cast<QTabWidget*>(dialog->Sheet().Widget());
    for (int i = 0; i < tabWidget->count(); ++i) tabs << tabWidget->tabText(i);
    sheet = tabWidget->geometry();
    banner = dialog->GetDlgItem(IDC_BANNER)->geometry();
    line = dialog->GetDlgItem(IDC_SHEET_BOTTOM_LINE)->geometry();
    // Without a driver interface the monitor shows the idle strip.
    EXPECT_TRUE(WaitUntil([&] { return dialog->GetDlgItemText(IDC_LOCK_TEXT) == "UNLOCKED"; }));
    lockText = dialog->GetDlgItemText(IDC_LOCK_TEXT);
    strength = dialog->GetDlgItemText(IDC_STRENGTH_TEXT);
    quality = dialog->GetDlgItemText(IDC_QUALITY_TEXT);
    EXPECT_EQ(dialog->ShownIcon(IDC_LOCK_ICON), IDI_UNLOCKED);
    EXPECT_EQ(dialog->ProgressGetPos(IDC_QUALITY_BAR), 0);
    dialog->OnCancel();
  });
  app.InitInstance();
  EXPECT_EQ(app.ExitCode(), 0);
  EXPECT_EQ(caption, "OrvaneRX40 Tessel - Version: " + ApplicationVersionText());
  EXPECT_TRUE(caption.ends_with(" ")) << "the version text ends with a blank";
  EXPECT_NE(caption.find("Version:  "), std::string::npos) << "two blanks after the label";
  EXPECT_EQ(tabs, (QStringList{"Tuner Setting", "Capture Control", "Motor/Positioner"}));
  EXPECT_EQ(banner.size(), QSize(470, 41));
  EXPECT_EQ(sheet.top(), banner.height() + 2);
  EXPECT_EQ(sheet.left(), 0);
  EXPECT_EQ(sheet.width(), line.width());
  EXPECT_EQ(sheet.height(), line.top() - (banner.bottom() + 1));
  EXPECT_EQ(lockText, "UNLOCKED");
  EXPECT_EQ(strength, "0");
  EXPECT_EQ(quality, "0");
  EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(MainWindowTest, ABuildWithoutVersionStampShowsTheEmptyVersion) {
  SetApplicationExecutablePath("/bin/sh");
  CBDAUtilDlg dialog;
  std::string caption;
  WhenModalRuns([&] {
    caption = dialog.GetWindowText();
    dialog.OnCancel();
  });
  dialog.DoModal();
  EXPECT_EQ(caption, "OrvaneRX40 Tessel - Version: ");
}

TEST_F(MainWindowTest, AnyDeviceRemovalClosesTheWindowThroughOkAndOtherChangesDoNot) {
  for (std::uint32_t code : {devices::DBT_DEVICEREMOVEPENDING, devices::DBT_DEVICEREMOVECOMPLETE}) {
    CBDAUtilDlg dialog;
    bool stillOpenAfterArrival = false;
    WhenModalRuns([&] {
      BroadcastDeviceChange(0x8000);  // a device arrived
      QApplication::processEvents();
      stillOpenAfterArrival = dialog.Widget() && dialog.Widget()->isVisible();
      devices::PublishDeviceChange(code);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK) << std::hex << code;
    EXPECT_TRUE(stillOpenAfterArrival);
    EXPECT_FALSE(dialog.IsMonitorRunning());
  }
}

TEST_F(MainWindowTest, UnpluggingTheSimulatedCardClosesTheWindowThroughOk) {
  CBDAUtilDlg dialog;
  WhenModalRuns([&] { m_platform.Card().Remove(); });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(TheTunerContext().m_pGraph) << "the graph was torn down on the way out";
}

TEST_F(MainWindowTest, ClosingStopsTheMonitorWhileItIsSendingToTheWindow) {
  // The instant clock makes the monitor update the strip as fast as the UI
  // thread answers, so the destroy handler always meets a monitor that is
  // waiting on the UI thread.
  for (int round = 0; round < 5; ++round) {
    CBDAUtilDlg dialog;
    WhenModalRuns([&] {
      WaitUntil([&] { return dialog.GetDlgItemText(IDC_LOCK_TEXT) == "UNLOCKED"; });
      CancelAllDialogs();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(dialog.IsMonitorRunning());
  }
}

class RecordingShell final : public ui::ShellService {
 public:
  void Open(const std::string& path, const std::string& workingDirectory) override {
    opened.push_back(path + "|" + workingDirectory);
  }
  std::vector<std::string> opened;
};

// F1: the named help file when installed, else the tool's own page (the
// shipped one when the data folder has none), else a box saying so.
TEST_F(MainWindowTest, F1OpensTheNamedHelpFileOrTheToolsOwnPage) {
  auto shell = std::make_shared<RecordingShell>();
  auto previous = ui::SetShellService(shell);
  const std::string folder = testing::TempDir() + "/rx40-help";
  const std::string shipped = testing::TempDir() + "/rx40-help-shipped";
  std::filesystem::remove_all(folder);
  std::filesystem::remove_all(shipped);
  std::filesystem::create_directories(folder);
  std::filesystem::create_directories(shipped);
  SetProgramFolder(folder);
  SetShippedDataFolder(shipped);
  MessageBoxRecorder boxes;

  CBDAUtilDlg dialog;
  WhenModalRuns([&] {
    auto pressF1 = [&] {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
      QApplication::sendEvent(dialog.Widget(), &press);
    };
    pressF1();  // no help at all: a box
    std::ofstream(shipped + "/rx40-tessel-help.html") << "<html></html>";
    pressF1();
    std::ofstream(folder + "/Lumobox-recorder.chm") << "help";
    pressF1();
    dialog.OnCancel();
  });
  dialog.DoModal();
  ui::SetShellService(previous);
  SetShippedDataFolder("");
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>({"No help found: neither Lumobox-recorder.chm nor "
                                                     "rx40-tessel-help.html is in " + folder}));
  EXPECT_EQ(shell->opened, std::vector<std::string>({shipped + "/rx40-tessel-help.html|" + folder,
                                                     folder + "/Lumobox-recorder.chm|" + folder}));
}

TEST_F(MainWindowTest, TheAboutItemShowsTheProductVersion) {
  CBDAUtilDlg dialog;
  std::string versionShown, aboutCaption;
  WhenModalRuns([&] {
    QAction* about = dialog.Widget()->findChild<QAction*>("about");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text().toStdString(), "&About Orvane Tessel Tool.");
    WhenModalRuns([&] {
      CDialog* box = FindOpenDialog(IDD_ABOUTBOX);
      ASSERT_NE(box, nullptr);
      versionShown = box->GetDlgItemText(IDC_VERSION_TEXT);
      aboutCaption = box->GetWindowText();
      box->OnOK();
    });
    about->trigger();
    dialog.OnCancel();
  });
  dialog.DoModal();
  EXPECT_EQ(versionShown, ApplicationVersionText());
  EXPECT_FALSE(versionShown.empty());
  EXPECT_EQ(aboutCaption, "OrvaneRX40 Tessel");
}

TEST_F(MainWindowTest, TheCapabilityItemShowsWhatTheCardsTunerCanDo) {
  CBDAUtilDlg dialog;
  WhenModalRuns([&] {
    QAction* capabilities = dialog.Widget()->findChild<QAction*>("capabilities");
    ASSERT_NE(capabilities, nullptr);
    capabilities->trigger();
    dialog.OnCancel();
  });
  dialog.DoModal();
  ASSERT_EQ(m_boxes.Boxes().size(), 1u);
  const std::string text = m_boxes.Boxes()[0].text;
  EXPECT_EQ(text.rfind("Simulated Orvane RX40 (this card)\n", 0), 0u) << text;
  EXPECT_NE(text.find("  input streams: selectable"), std::string::npos) << text;
  EXPECT_EQ(m_boxes.Boxes()[0].flags, MB_OK | MB_ICONINFORMATION);
}

// The About box's OK button and Enter close it, as Escape does.
TEST_F(MainWindowTest, TheAboutBoxClosesWithItsOkButtonEnterOrEscape) {
  for (const char* how : {"click", "enter", "escape"}) {
    CAboutDlg about;
    bool closedByKey = false;
    WhenModalRuns([&] {
      CDialog* box = FindOpenDialog(IDD_ABOUTBOX);
      ASSERT_NE(box, nullptr);
      box->Widget()->activateWindow();
      QTest::qWaitForWindowActive(box->Widget());
      auto* ok = qobject_cast<QPushButton*>(box->GetDlgItem(IDOK));
      ASSERT_NE(ok, nullptr);
      const std::string way = how;
      if (way == "click") QTest::mouseClick(ok, Qt::LeftButton);
      else QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box->Widget(),
                           way == "enter" ? Qt::Key_Return : Qt::Key_Escape);
      closedByKey = FindOpenDialog(IDD_ABOUTBOX) == nullptr;
      if (!closedByKey) box->OnCancel();
    });
    about.DoModal();
    EXPECT_TRUE(closedByKey) << how;
  }
}

}  // namespace
