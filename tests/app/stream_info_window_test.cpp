// The stream-information panel in the running main window on the simulated
// card: its layout, real key and mouse events on "Apply" and the list, the
// real "NULL" box, and a whole input stream selection end to end.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <mutex>
#include <unistd.h>

#include "app/bda_util_dlg.h"
#include "platform/ui/qt_services.h"
#include "resources/resource_ids.h"
#include "tests/support/file_contents.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
#include "tests/support/ui_test_helpers.h"

namespace {

// Real boxes on screen, each one noted before it is shown.
class ShownBoxes final : public MessageBoxService {
 public:
  int Show(const MessageBoxRequest& request) override {
    {
      std::lock_guard lock(m_mutex);
      m_shown.push_back(request);
    }
    return m_qt->Show(request);
  }
  std::vector<MessageBoxRequest> Shown() const {
    std::lock_guard lock(m_mutex);
    return m_shown;
  }

 private:
  std::shared_ptr<MessageBoxService> m_qt = ui::MakeQtMessageBoxService();
  mutable std::mutex m_mutex;
  std::vector<MessageBoxRequest> m_shown;
};

// Presses key in the next message box to open, as the operator would: on
// the box's focused button.
void PressInNextBox(Qt::Key key) {
  QTimer::singleShot(0, [key] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return PressInNextBox(key);
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target && target->window() == box ? target : box, key);
  });
}

// Gives w the keyboard focus in its active window, as a click into it would.
void Focus(QWidget* w) {
  w->window()->activateWindow();
  WaitUntil([w] { return w->window()->isActiveWindow(); });
  w->setFocus();
}

class StreamInfoWindowTest : public testing::Test {
 protected:
  explicit StreamInfoWindowTest(const std::string& file = "") : m_platform(SimConfigFrom(file)) {}

  void Tune(CBDAUtilDlg& d, const char* frequency, const char* symbolRate) {
    CBdacontrolDlg& page = d.TunerPage();
    EnterCarrier(page, frequency, symbolRate);
    QWidget* edit = page.GetDlgItem(IDC_FREQUENCY);
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_Return);  // Enter on the page is "Lock TP"
  }
  static std::vector<std::string> List(CBDAUtilDlg& d) {
    std::vector<std::string> entries;
    for (int i = 0; i < d.ComboGetCount(IDC_INPUT_STREAM_LIST); ++i)
      entries.push_back(d.ComboGetLBText(IDC_INPUT_STREAM_LIST, i));
    return entries;
  }

  SimulatedPlatform m_platform;
};

TEST_F(StreamInfoWindowTest, EveryControlOfTheWindowHasItsOwnRoomAndShowsItsWholeText) {
  CBDAUtilDlg dialog;
  WhenModalRuns([&] {
    const QRect window = dialog.Widget()->rect();
    auto* sheet = qobject_cast<QTabWidget*>(dialog.Sheet().Widget());
    std::vector<std::pair<std::string, QRect>> placed = {{"sheet", sheet->geometry()}};
    for (const auto& c : dialog.Template().controls) {
      if (c.kind == ui::ControlKind::GroupBox || c.kind == ui::ControlKind::EtchedLine) continue;
      QWidget* w = nullptr;
      if (c.id != ui::kNoId) {
        w = dialog.GetDlgItem(c.id);
      } else {
        for (auto* label : dialog.Widget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
          if (label->text().toStdString() == c.text) w = label;
      }
      ASSERT_NE(w, nullptr) << c.id << " " << c.text;
      const std::string name = std::to_string(c.id) + " " + c.text;
      EXPECT_TRUE(window.contains(w->geometry())) << name << " is cut by the window's edge";
      if (auto* label = qobject_cast<QLabel*>(w); label && !c.text.empty()) {
        EXPECT_LE(label->sizeHint().width(), w->width()) << name << " is cut";
      }
      if (auto* button = qobject_cast<QPushButton*>(w)) {
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), w->width()) << name << " is cut";
      }
      placed.emplace_back(name, w->geometry());
    }
    for (std::size_t i = 0; i < placed.size(); ++i)
      for (std::size_t j = i + 1; j < placed.size(); ++j)
        EXPECT_FALSE(placed[i].second.intersects(placed[j].second)) << placed[i].first << " / " << placed[j].first;

    // The history plot sits in the tab row beside the tabs, no taller than it.
    SignalHistoryPlot* corner = dialog.Trend().CornerPlot();
    ASSERT_NE(corner, nullptr);
    EXPECT_TRUE(corner->isVisible());
    EXPECT_EQ(sheet->cornerWidget(Qt::TopRightCorner), corner);
    const QTabBar* tabs = sheet->tabBar();
    EXPECT_LE(corner->geometry().bottom(), tabs->geometry().bottom());
    EXPECT_FALSE(corner->geometry().intersects(tabs->geometry()));
    dialog.OnCancel();
  });
  dialog.DoModal();
}

// With the driver's trace, to see what reached the card.
class StreamInfoTracedTest : public StreamInfoWindowTest {
 protected:
  StreamInfoTracedTest() : StreamInfoWindowTest("[card]\ntrace = " + TracePath() + "\n") {}
  static std::string TracePath() {
    return testing::TempDir() + "/rx40-trace-isi-" + std::to_string(::getpid()) + ".txt";
  }
};

TEST_F(StreamInfoTracedTest, TheMultipleStreamCarrierFillsTheListAndApplyRetunesToTheChosenStream) {
  CBDAUtilDlg dialog;
  WhenModalRuns([&] {
    Tune(dialog, "12168", "27500");
    ASSERT_TRUE(WaitUntil([&] { return List(dialog).size() == 3; }))
        << dialog.GetDlgItemText(IDC_LOCK_TEXT) << "\n" << FileText(TracePath());
    EXPECT_EQ(List(dialog), (std::vector<std::string>{"1", "10", "2"}));
    EXPECT_EQ(dialog.GetDlgItemText(IDC_INPUT_STREAM), "MULTIPLE_INPUT_STREAM");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_FEC), "3/5");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_INTERMEDIATE_FREQUENCY), "1568000");

    // The operator picks "10" with the keyboard and clicks "Apply".
    auto* list = qobject_cast<QComboBox*>(dialog.GetDlgItem(IDC_INPUT_STREAM_LIST));
    Focus(list);
    for (int i = 0; i < 3 && list->currentText() != "10"; ++i) QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentText(), "10");
    const std::size_t before = FileText(TracePath()).size();
    QTest::mouseClick(dialog.GetDlgItem(IDC_APPLY), Qt::LeftButton);

    const std::string after = FileText(TracePath()).substr(before);
    std::string bytes;
    for (int i = 0; i < 72; ++i) bytes += (i ? " " : "") + std::string(i == 48 ? "0A" : "00");
    const auto set = after.find("Set 14 " + bytes);
    ASSERT_NE(set, std::string::npos) << after;
    EXPECT_NE(after.find("Tune carrier=12168000", set), std::string::npos) << "a new Lock TP follows\n" << after;
    EXPECT_TRUE(WaitUntil([&] { return dialog.GetDlgItemText(IDC_MATYPE) == "D2  0A"; }));
    EXPECT_EQ(List(dialog), (std::vector<std::string>{"1", "10", "2"}));
    EXPECT_TRUE(m_platform.Boxes().Boxes().empty());
    dialog.OnCancel();
  });
  dialog.DoModal();
}

TEST_F(StreamInfoTracedTest, NullIsARealBoxThatEnterAndEscapeCloseWithoutRunningAnythingAgain) {
  auto boxes = std::make_shared<ShownBoxes>();
  auto previous = SetMessageBoxService(boxes);
  CBDAUtilDlg dialog;
  WhenModalRuns([&] {
    QWidget* apply = dialog.GetDlgItem(IDC_APPLY);
    PressInNextBox(Qt::Key_Return);
    QTest::mouseClick(apply, Qt::LeftButton);  // nothing listed
    PressInNextBox(Qt::Key_Escape);
    Focus(apply);
    QTest::keyClick(apply, Qt::Key_Space);
    // A few monitor cycles later still only the two boxes, and no tune.
    const auto sleeps = m_platform.Clock().Sleeps().size();
    WaitUntil([&] { return m_platform.Clock().Sleeps().size() > sleeps + 6; });
    dialog.OnCancel();
  });
  dialog.DoModal();
  SetMessageBoxService(previous);

  const auto shown = boxes->Shown();
  ASSERT_EQ(shown.size(), 2u);
  for (const auto& box : shown) {
    EXPECT_EQ(box.text, "NULL");
    EXPECT_EQ(box.caption, "OrvaneRX40 Tessel");
    EXPECT_EQ(box.owner, &dialog);
  }
  const std::string trace = FileText(TracePath());
  EXPECT_EQ(trace.find("Set 14"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("Tune "), std::string::npos) << trace;
}

}  // namespace

namespace {

TEST_F(StreamInfoWindowTest, EnterOnTheInputStreamListKeepsTheWindowOpenAndEnterOnApplyPressesIt) {
  CBDAUtilDlg dialog;
  bool openAfterEnter = false;
  std::vector<std::string> boxes;
  WhenModalRuns([&] {
    QWidget* list = dialog.GetDlgItem(IDC_INPUT_STREAM_LIST);
    Focus(list);
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter);
    openAfterEnter = dialog.Widget() && dialog.Widget()->isVisible();
    QWidget* apply = dialog.GetDlgItem(IDC_APPLY);
    apply->setFocus();
    QTest::keyClick(apply, Qt::Key_Return);  // nothing listed: Apply answers "NULL"
    boxes = m_platform.Boxes().Texts();
    dialog.OnCancel();
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(openAfterEnter);
  EXPECT_EQ(boxes, std::vector<std::string>{"NULL"});
}

}  // namespace
