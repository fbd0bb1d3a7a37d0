// The Capture Control page driven by real key and mouse events through Qt,
// with real message boxes and Qt's own save dialog: what an operator at the
// keyboard does, and what the box recorder cannot see.
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "tests/recording/capture_page_fixture.h"
#include "platform/ui/qt_services.h"
#include "tests/support/real_box_keys.h"

namespace {

// Runs act once on the first modal window of type T shown from now on.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(5);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
    auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!window || !window->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(window);
  });
  poll->start();
}

class CapturePageKeysTest : public CapturePageTest {
 protected:
  void SetUp() override { ShowHost(); }

  // Presses a page button from the keyboard: focus, then the space bar.
  void PressWithKeyboard(int id) {
    Button(id)->setFocus();
    QTest::keyClick(Button(id), Qt::Key_Space);
  }
};

// Enter and Escape close the box; the key does not reach the page, so the
// button is not pressed again behind the box.
TEST_F(CapturePageKeysTest, EnterOrEscapeClosesTheRealBoxAndRunsNothingAgain) {
  SignalLockedFlag() = 0;
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    RealBoxKeys keys(key, 1);
    PressWithKeyboard(IDC_START_RECORD);
    EXPECT_EQ(keys.Shown(), std::vector<std::string>{"Signal is not locked! Please check signal first."});
    EXPECT_EQ(keys.LeftOpen(), 0) << "the key closed the box";
    EXPECT_FALSE(page->IsRecording());
    EXPECT_FALSE(std::filesystem::exists(recordPath));
  }

  // The same while recording: the second press only shows its box.
  SignalLockedFlag() = 1;
  PressWithKeyboard(IDC_START_RECORD);
  ASSERT_TRUE(page->IsRecording());
  RealBoxKeys keys(Qt::Key_Return, 1);
  PressWithKeyboard(IDC_START_RECORD);
  EXPECT_EQ(keys.Shown(), std::vector<std::string>{"Record is started! Please wait or cancel record."});
  EXPECT_EQ(keys.LeftOpen(), 0);
  EXPECT_EQ(control->runs, 1);
  EXPECT_TRUE(IsTimerArmed());
}

TEST_F(CapturePageKeysTest, ARangePromptInARealBoxLeavesTheFieldFocusedAndSelected) {
  QLineEdit* time = Edit(IDC_TIME_LIMIT);
  QTest::mouseClick(Button(IDC_USE_TIME_LIMIT), Qt::LeftButton);
  time->setFocus();
  time->selectAll();
  QTest::keyClicks(time, "70000");
  auto keys = std::make_unique<RealBoxKeys>(Qt::Key_Return, 1);
  PressWithKeyboard(IDC_START_RECORD);
  EXPECT_EQ(keys->Shown(), std::vector<std::string>{"Please enter an integer between 1 and 65535."});
  keys.reset();
  EXPECT_FALSE(page->IsRecording());
  // The window's focus goes back to it when the window is active again
  // (the offscreen platform does not hand activation back by itself).
  EXPECT_EQ(page.Host().focusWidget(), time);
  EXPECT_EQ(time->selectedText(), "70000");
  ShowHost();
  EXPECT_EQ(QApplication::focusWidget(), time);

  // Typing over the selection fixes it; the recording then runs its second.
  QTest::keyClicks(time, "1");
  PressWithKeyboard(IDC_START_RECORD);
  ASSERT_TRUE(page->IsRecording());
  for (int i = 0; i < 10; ++i) Tick();
  EXPECT_FALSE(page->IsRecording());
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Record Stopped!");
}

// Enter in a box of the page would otherwise reach the main window and end
// the program.
TEST_F(CapturePageKeysTest, EnterInTheLimitBoxesDoesNothing) {
  struct KeyWatch : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::KeyPress) ++seen;
      return false;
    }
    int seen = 0;
  } watch;
  page.Host().installEventFilter(&watch);
  for (int id : {IDC_RECORD_PATH, IDC_SIZE_LIMIT}) {
    Edit(id)->setFocus();
    QTest::keyClick(Edit(id), Qt::Key_Return);
    QTest::keyClick(Edit(id), Qt::Key_Enter);
  }
  EXPECT_EQ(watch.seen, 0);
  EXPECT_FALSE(page->IsRecording());
  EXPECT_TRUE(boxes.Texts().empty());
}

// A limit typed during a recording counts when the operator commits it
// (Enter, or leaving the field); the digits on the way never stop it.
TEST_F(CapturePageKeysTest, ALimitTypedDuringARecordingTakesEffectWhenCommitted) {
  auto typeWithTicks = [&](QLineEdit* edit, const char* text) {
    edit->setFocus();
    edit->selectAll();
    for (const char* c = text; *c; ++c) {
      QTest::keyClicks(edit, QString(QChar(*c)));
      Tick();
      ASSERT_TRUE(page->IsRecording()) << "stopped after typing up to '" << *c << "'";
    }
  };
  // Time limit 10 s, 4 s gone: "3" on the way to "30" would end it.
  QTest::mouseClick(Button(IDC_USE_TIME_LIMIT), Qt::LeftButton);
  StartRecordingByClick();
  for (int i = 0; i < 40; ++i) Tick();
  typeWithTicks(Edit(IDC_TIME_LIMIT), "30");
  EXPECT_EQ(page->TimeLimit(), 10u);
  EXPECT_FALSE(page->IsDlgItemFlagged(IDC_TIME_LIMIT));
  QTest::keyClick(Edit(IDC_TIME_LIMIT), Qt::Key_Return);
  EXPECT_EQ(page->TimeLimit(), 30u);
  Tick();
  EXPECT_EQ(page->GetDlgItemText(IDC_LIMIT_LINE), "26 Seconds");

  // Leaving the field commits too; a committed limit below the elapsed
  // time ends the recording at the next tick.
  typeWithTicks(Edit(IDC_TIME_LIMIT), "2");
  QTest::mouseClick(Edit(IDC_RECORD_PATH), Qt::LeftButton);
  EXPECT_EQ(page->TimeLimit(), 2u);
  Tick();
  EXPECT_FALSE(page->IsRecording());
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Record Stopped!");

  // Size limit: 70000 MB passes through 7 and 70 (refused, then far below
  // the 1000 MB already recorded); a refused commit keeps the last limit.
  QTest::mouseClick(Button(IDC_USE_SIZE_LIMIT), Qt::LeftButton);
  page->SetDlgItemText(IDC_SIZE_LIMIT, "800000");
  StartRecordingByClick();
  ASSERT_TRUE(GrowRecordTo(1'024'000ull * 1024));
  typeWithTicks(Edit(IDC_SIZE_LIMIT), "70000");
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Recording... 0%") << "800000 MB still applies";
  EXPECT_FALSE(page->IsDlgItemFlagged(IDC_SIZE_LIMIT)) << "no red frame for digits on the way";
  QTest::keyClick(Edit(IDC_SIZE_LIMIT), Qt::Key_Enter);
  Tick();
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Recording... 1%");
  typeWithTicks(Edit(IDC_SIZE_LIMIT), "7");
  QTest::keyClick(Edit(IDC_SIZE_LIMIT), Qt::Key_Return);
  Tick();
  EXPECT_TRUE(page->IsDlgItemFlagged(IDC_SIZE_LIMIT));
  EXPECT_EQ(page->SizeLimit(), 70000u);
  EXPECT_TRUE(page->IsRecording());
  EXPECT_TRUE(boxes.Texts().empty());
}

// A real "Record is started!" box is up when the limit ends the recording:
// it goes with the recording instead of staying up, untrue.
TEST_F(CapturePageKeysTest, TheStartedBoxClosesWhenTheRecordingEnds) {
  SetMessageBoxService(ui::MakeQtMessageBoxService());
  QTest::mouseClick(Button(IDC_USE_TIME_LIMIT), Qt::LeftButton);
  page->SetDlgItemText(IDC_TIME_LIMIT, "1");
  StartRecordingByClick();
  bool boxSeen = false, leftOpen = false;
  WhenShown<QMessageBox>([&](QMessageBox* box) {
    boxSeen = box->text() == "Record is started! Please wait or cancel record.";
    for (int i = 0; i < 10 && page->IsRecording(); ++i) timers.FireArmed();
    leftOpen = box->isVisible();
    if (leftOpen) box->done(QMessageBox::Ok);  // so that a failure does not hang the test
  });
  PressWithKeyboard(IDC_START_RECORD);  // returns once the box has closed
  EXPECT_TRUE(boxSeen);
  EXPECT_FALSE(leftOpen);
  EXPECT_FALSE(page->IsRecording());
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS), "Record Stopped!");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no box left up";
}

TEST_F(CapturePageKeysTest, AFailedStartClearsTheLastRecordingsCounts) {
  StartRecordingByClick();
  Send(Counting(1316, 3));
  QTest::mouseClick(Button(IDC_CANCEL_RECORD), Qt::LeftButton);
  ASSERT_FALSE(page->GetDlgItemText(IDC_RECORD_HEALTH).empty());
  page->SetDlgItemText(IDC_RECORD_PATH, dir + "/no such folder/take.ts");
  QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_STATUS).rfind("Create error", 0), 0u);
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_HEALTH), "");
}

TEST_F(CapturePageKeysTest, QtsSaveDialogAddsTheSuffixAndAsksBeforeReplacingAFile) {
  // A new name: the default suffix is added.
  WhenShown<QFileDialog>([](QFileDialog* dialog) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    QTest::keyClicks(name, "evening take");
    QTest::keyClick(name, Qt::Key_Return);
  });
  QTest::mouseClick(Button(IDC_BROWSE), Qt::LeftButton);
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_PATH), dir + "/evening take.ts");

  // An existing file: the replacement is confirmed in a box; Enter there
  // means no, and Escape then leaves the dialog with the path unchanged.
  { std::ofstream(dir + "/kept.ts") << "old"; }
  std::string question;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    WhenShown<QMessageBox>([&, dialog](QMessageBox* box) {
      question = box->text().toStdString();
      QTest::keyClick(box, Qt::Key_Return);
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    name->selectAll();
    QTest::keyClicks(name, "kept.ts");
    QTest::keyClick(name, Qt::Key_Return);
  });
  QTest::mouseClick(Button(IDC_BROWSE), Qt::LeftButton);
  EXPECT_NE(question.find("kept.ts"), std::string::npos) << question;
  EXPECT_EQ(page->GetDlgItemText(IDC_RECORD_PATH), dir + "/evening take.ts");
  EXPECT_TRUE(boxes.Texts().empty()) << "the question is the dialog's own";
}

}  // namespace
