// The Capture Control page driven by real key and mouse events through Qt,
// with real message boxes and Qt's own save dialog: what an operator at the
// keyboard does, and what the box recorder cannot see.
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "tests/recording/capture_page_fixture.h"
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
