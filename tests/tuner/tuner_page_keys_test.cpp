// Keys typed on the Tuner Setting page and inside the boxes it raises, sent
// through Qt to real widgets and real message boxes.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "resources/resource_ids.h"
#include "tests/support/real_box_keys.h"
#include "tests/support/simulated_platform.h"
#include "tuner/bdacontrol_dlg.h"

namespace {

// The page in a shown, active window, as in the program.
struct ShownPage {
  ShownPage() {
    page.CreateChild(&window);
    window.resize(page.Widget()->size());
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  ~ShownPage() { page.DestroyWindow(); }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(page.GetDlgItem(id)); }

  QWidget window;
  CBdacontrolDlg page;
};

// Without the "Input0" pin every Lock TP raises the same two boxes: no
// property set, and a tune the card never received.
sim::SimConfig WithoutPropertySet() {
  sim::SimConfig config;
  config.card.tunerInputPin = sim::TunerInputPin::Missing;
  return config;
}

const std::vector<std::string> kLockTpBoxes = {"m_pKsCtrl==NULL", "KSPROPERTY_CTRL_TUNER set channel_change false"};

TEST(TunerPageKeys, EnterAndEscapeInsideAPageBoxCloseItAndDoNotRunLockTPAgain) {
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
    SimulatedPlatform platform(WithoutPropertySet());
    ShownPage shown;
    QLineEdit* frequency = shown.Edit(IDC_FREQUENCY);
    frequency->setFocus();
    RealBoxKeys boxes(key, 2);
    QTest::keyClick(frequency, Qt::Key_Return);  // Enter on the page runs Lock TP
    EXPECT_EQ(boxes.Shown(), kLockTpBoxes) << "key " << key;
    EXPECT_EQ(boxes.LeftOpen(), 0) << "key " << key << " did not close the box";
    EXPECT_TRUE(shown.page.IsDlgItemEnabled(IDC_LOCK_TP)) << "Lock TP finished";
  }
}

TEST(TunerPageKeys, EnterOnThePageStillRunsLockTPAndEscapeStillDoesNothing) {
  SimulatedPlatform platform(WithoutPropertySet());
  ShownPage shown;
  QLineEdit* symbolRate = shown.Edit(IDC_SYMBOL_RATE);
  symbolRate->setFocus();
  RealBoxKeys boxes(Qt::Key_Return, 4);
  QTest::keyClick(symbolRate, Qt::Key_Escape);
  EXPECT_TRUE(boxes.Shown().empty());
  QTest::keyClick(symbolRate, Qt::Key_Enter);
  shown.window.activateWindow();  // the window manager's part once the boxes are gone
  ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.window));
  EXPECT_EQ(QApplication::focusWidget(), symbolRate);
  QTest::keyClick(symbolRate, Qt::Key_Return);
  std::vector<std::string> twice = kLockTpBoxes;
  twice.insert(twice.end(), kLockTpBoxes.begin(), kLockTpBoxes.end());
  EXPECT_EQ(boxes.Shown(), twice);
  EXPECT_EQ(boxes.LeftOpen(), 0);
}

}  // namespace
