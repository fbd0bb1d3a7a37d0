// The main window under real key presses and window-manager closes: Escape
// never ends it, wherever the focus is, and a close during a recording asks
// first, while a signal still ends it without asking.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>

#include "app/bda_util_dlg.h"
#include "recording/recording_state.h"
#include "resources/resource_ids.h"
#include "tests/support/manual_timers.h"
#include "tests/support/real_box_keys.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
#include "tests/support/ui_test_helpers.h"
#include "tuner/tuner_context.h"

namespace {

constexpr char kQuestion[] = "A recording is running. Stop it and quit?";

class MainWindowKeysTest : public testing::Test {
 protected:
  ~MainWindowKeysTest() override { SignalLockedFlag() = 0; }

  CUtiVirtualDamonDlg& CapturePage() { return static_cast<CUtiVirtualDamonDlg&>(*dialog.Sheet().GetPage(1)); }
  bool WindowOpen() { return FindOpenDialog(IDD_MAIN_DIALOG) == &dialog; }
  void PressKeyOnFocus(Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : dialog.Widget(), key);
    QApplication::processEvents();
  }
  void ShowActive() {
    dialog.Widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.Widget()));
  }
  // Tunes a carrier of the built-in sky and starts a recording on the page.
  void StartRecording() {
    EnterCarrier(dialog.TunerPage(), "11362", "22000");
    dialog.TunerPage().OnOK();
    ASSERT_TRUE(WaitUntil([] { return SignalLockedFlag().load() == 1; }));
    dialog.Sheet().SetActivePage(1);
    CapturePage().SetDlgItemText(IDC_RECORD_PATH, platform.Folder() + "/take.ts");
    qobject_cast<QAbstractButton*>(CapturePage().GetDlgItem(IDC_START_RECORD))->click();
    ASSERT_TRUE(CapturePage().IsRecording());
  }

  SimulatedPlatform platform;
  ManualTimers timers;
  CBDAUtilDlg dialog;
};

TEST_F(MainWindowKeysTest, EscapeNeverEndsTheWindowWhereverTheFocusIs) {
  std::vector<std::string> closedBy;
  bool done = false;
  WhenModalRuns([&] {
    ShowActive();
    auto escapeFrom = [&](const std::string& where) {
      PressKeyOnFocus(Qt::Key_Escape);
      if (!WindowOpen()) closedBy.push_back(where);
    };
    dialog.TunerPage().GotoDlgCtrl(IDC_FREQUENCY);
    escapeFrom("the frequency box");
    // A click on Lock TP disables the button while it tunes; the focus moves
    // on, into the lower panel.
    EnterCarrier(dialog.TunerPage(), "11362", "22000");
    QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.TunerPage().GetDlgItem(IDC_LOCK_TP)), Qt::LeftButton);
    escapeFrom("wherever Lock TP left the focus");
    dialog.GotoDlgCtrl(IDC_INPUT_STREAM_LIST);
    escapeFrom("the input stream list");
    dialog.Sheet().SetActivePage(1);
    CapturePage().GotoDlgCtrl(IDC_SIZE_LIMIT);
    escapeFrom("a limit box of Capture Control");
    dialog.Sheet().SetActivePage(2);
    escapeFrom("the Motor/Positioner page");
    done = true;
    dialog.OnCancel();
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(done);
  EXPECT_TRUE(closedBy.empty()) << "Escape closed the window from " << closedBy[0];
}

// Tab walks what the user can change: the lower panel's read-only value
// boxes are left out, a click still selects their text.
TEST_F(MainWindowKeysTest, TabSkipsTheReadOnlyValueBoxes) {
  std::vector<std::string> visited;
  int readOnlyBoxes = 0;
  WhenModalRuns([&] {
    ShowActive();
    for (QLineEdit* edit : dialog.Widget()->findChildren<QLineEdit*>())
      if (edit->isReadOnly() && edit->isVisible()) ++readOnlyBoxes;
    dialog.TunerPage().GotoDlgCtrl(IDC_FREQUENCY);
    for (int i = 0; i < 40; ++i) {
      QWidget* focus = QApplication::focusWidget();
      if (auto* edit = qobject_cast<QLineEdit*>(focus); edit && edit->isReadOnly())
        visited.push_back(edit->objectName().toStdString());
      PressKeyOnFocus(Qt::Key_Tab);
    }
    QWidget* readOnly = dialog.GetDlgItem(IDC_MATYPE);
    QTest::mouseClick(readOnly, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), readOnly) << "a click still reaches it";
    dialog.OnCancel();
  });
  dialog.DoModal();
  EXPECT_GE(readOnlyBoxes, 15) << "the panel's value boxes are there to be skipped";
  EXPECT_TRUE(visited.empty()) << "Tab stopped in read-only box " << visited.front();
}

// A titled group box draws its title on the frame's top line, inside the
// rectangle the window gives it, not above the frame.
TEST_F(MainWindowKeysTest, GroupTitlesSitOnTheirFramesLine) {
  WhenModalRuns([&] {
    ShowActive();
    int titled = 0;
    for (QGroupBox* group : dialog.Widget()->findChildren<QGroupBox*>()) {
      if (group->title().isEmpty()) continue;
      ++titled;
      QStyleOptionGroupBox option;
      option.initFrom(group);
      option.text = group->title();
      option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
      const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
      const QRect frame = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, group);
      EXPECT_GE(label.top(), 0) << group->title().toStdString();
      EXPECT_LT(frame.top(), label.bottom()) << group->title().toStdString() << ": the frame line runs through the title";
      EXPECT_GT(frame.top(), label.top()) << group->title().toStdString();
    }
    EXPECT_GE(titled, 1);
    dialog.OnCancel();
  });
  dialog.DoModal();
}

TEST_F(MainWindowKeysTest, ClosingTheWindowDuringARecordingAsksAndNoKeepsItRecording) {
  std::vector<std::string> asked;
  bool stillRecording = false;
  WhenModalRuns([&] {
    StartRecording();
    platform.Boxes().AnswerQuestions(IDNO);
    dialog.Widget()->close();  // the window manager's close button
    QApplication::processEvents();
    stillRecording = WindowOpen() && CapturePage().IsRecording();
    asked = platform.Boxes().Texts();

    platform.Boxes().AnswerQuestions(IDYES);
    dialog.Widget()->close();
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(asked, std::vector<std::string>{kQuestion});
  EXPECT_TRUE(stillRecording) << "No keeps the window and the recording";
  EXPECT_EQ(platform.Boxes().Texts().size(), 2u) << "Yes was asked once more, then the window closed";
  EXPECT_FALSE(TheRecordingState().IsFileOpen());
}

// A real box: Enter answers its default button, which keeps the recording.
TEST_F(MainWindowKeysTest, EnterOnTheRealQuestionKeepsTheRecording) {
  std::vector<std::string> shown;
  bool stillRecording = false;
  WhenModalRuns([&] {
    StartRecording();
    {
      RealBoxKeys keys(Qt::Key_Return, 1);
      dialog.Widget()->close();
      WaitUntil([&] { return !keys.Shown().empty() && !QApplication::activeModalWidget()->inherits("QMessageBox"); });
      shown = keys.Shown();
    }
    stillRecording = WindowOpen() && CapturePage().IsRecording();
    dialog.OnCancel();
  });
  dialog.DoModal();
  EXPECT_EQ(shown, std::vector<std::string>{kQuestion});
  EXPECT_TRUE(stillRecording);
}

TEST_F(MainWindowKeysTest, ClosingWithoutARecordingOrBySignalAsksNothing) {
  WhenModalRuns([&] { dialog.Widget()->close(); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(platform.Boxes().Texts().empty());

  CBDAUtilDlg second;
  WhenModalRuns([&] {
    auto& page = static_cast<CUtiVirtualDamonDlg&>(*second.Sheet().GetPage(1));
    EnterCarrier(second.TunerPage(), "11362", "22000");
    second.TunerPage().OnOK();
    ASSERT_TRUE(WaitUntil([] { return SignalLockedFlag().load() == 1; }));
    second.Sheet().SetActivePage(1);
    page.SetDlgItemText(IDC_RECORD_PATH, platform.Folder() + "/signalled.ts");
    qobject_cast<QAbstractButton*>(page.GetDlgItem(IDC_START_RECORD))->click();
    ASSERT_TRUE(page.IsRecording());
    CancelAllDialogs();  // what SIGINT and SIGTERM do
  });
  EXPECT_EQ(second.DoModal(), IDCANCEL);
  EXPECT_TRUE(platform.Boxes().Texts().empty());
  EXPECT_FALSE(TheRecordingState().IsFileOpen());
}

}  // namespace
