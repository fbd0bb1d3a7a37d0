// Editable drop-down combo boxes and the spin control, driven by real key
// and mouse events.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "platform/ui/dialog.h"
#include "platform/ui/resource_registry.h"
#include "platform/ui/up_down_control.h"

namespace {

using namespace ui;

constexpr int kDialogId = 9101;
constexpr int kCombo = 20, kEdit = 21, kSpin = 22, kFixedSpinEdit = 23, kFixedSpin = 24;

class ComboAndSpinDialog : public CDialog {
 public:
  ComboAndSpinDialog() : CDialog(RegisteredId()) {}
  std::vector<int> selections;

 protected:
  void ConnectMessageMap() override {
    OnSelChange(kCombo, [this] { selections.push_back(ComboGetCurSel(kCombo)); });
  }

 private:
  static int RegisteredId() {
    RegisterDialogTemplate({kDialogId, "Combo and spin", 200, 120,
                            {
                                {kCombo, ControlKind::DropDown, "", {4, 4, 100, 60}, kSorted},
                                {kEdit, ControlKind::Edit, "", {4, 30, 46, 15}, kBorder | kAutoHScroll},
                                {kSpin, ControlKind::Spin, "", {50, 33, 11, 18}, kWrap},
                                {kFixedSpinEdit, ControlKind::Edit, "", {4, 60, 46, 15}, kBorder},
                                {kFixedSpin, ControlKind::Spin, "", {50, 63, 11, 18}},
                            }});
    return kDialogId;
  }
};

class ComboAndSpin : public testing::Test {
 protected:
  void SetUp() override {
    dialog.CreateChild(&host);
    host.show();
    for (const char* entry : {"Sat 19.2E", "sat 13.0E", "Sat 28.2E", "Other"}) dialog.ComboAddString(kCombo, entry);
  }
  QComboBox* Combo() { return qobject_cast<QComboBox*>(dialog.GetDlgItem(kCombo)); }
  QToolButton* Arrow(int spin, const char* which) { return dialog.GetDlgItem(spin)->findChild<QToolButton*>(which); }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id)); }

  QWidget host;
  ComboAndSpinDialog dialog;
};

TEST_F(ComboAndSpin, EditableComboTakesTypedTextAndPrefixSelections) {
  EXPECT_EQ(dialog.ComboGetLBText(kCombo, 0), "Other");
  EXPECT_EQ(dialog.ComboGetLBText(kCombo, 1), "sat 13.0E");  // sorted, letter case ignored
  ASSERT_TRUE(Combo()->isEditable());

  // Typed text is the box's text; Enter neither adds it nor completes it.
  Combo()->lineEdit()->setFocus();
  QTest::keyClicks(Combo()->lineEdit(), "0192");
  QTest::keyClick(Combo()->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(dialog.GetDlgItemText(kCombo), "0192");
  EXPECT_EQ(dialog.ComboGetCount(kCombo), 4);
  EXPECT_TRUE(dialog.selections.empty());

  // The arrow keys pick entries and report the change, as a click does.
  dialog.ComboSetCurSel(kCombo, 0);
  QTest::keyClick(Combo()->lineEdit(), Qt::Key_Down);
  EXPECT_EQ(dialog.selections, std::vector<int>{1});
  EXPECT_EQ(dialog.GetDlgItemText(kCombo), "sat 13.0E");

  // Prefix selection: case ignored, searching after the given entry and wrapping.
  EXPECT_EQ(dialog.ComboSelectString(kCombo, 0, "SAT"), 1);
  EXPECT_EQ(dialog.ComboSelectString(kCombo, 2, "sat"), 3);
  EXPECT_EQ(dialog.ComboSelectString(kCombo, 3, "sat 1"), 1);  // wrapped
  EXPECT_EQ(dialog.ComboSelectString(kCombo, 0, "Oth"), 0);    // back to the first entry
  EXPECT_EQ(dialog.ComboSelectString(kCombo, -1, "nothing"), -1);
  EXPECT_EQ(dialog.ComboGetCurSel(kCombo), 0) << "a failed search keeps the selection";
  EXPECT_TRUE(dialog.selections.size() == 1) << "programmatic selections report nothing";

  dialog.SetDlgItemText(kCombo, "3300");
  EXPECT_EQ(dialog.GetDlgItemText(kCombo), "3300");
  dialog.ComboResetContent(kCombo);
  EXPECT_EQ(dialog.ComboGetCount(kCombo), 0);
  EXPECT_EQ(dialog.GetDlgItemText(kCombo), "");
}

TEST_F(ComboAndSpin, SpinSitsAgainstItsBuddyAndItsUpperArrowLowersTheNumberWrapping) {
  QWidget* spin = dialog.GetDlgItem(kSpin);
  const QRect edit = Edit(kEdit)->geometry();
  EXPECT_EQ(spin->geometry().left(), edit.right() + 1);
  EXPECT_EQ(spin->geometry().top(), edit.top());
  EXPECT_EQ(spin->geometry().height(), edit.height());
  EXPECT_EQ(static_cast<UpDownControl*>(spin)->Buddy(), Edit(kEdit));

  // The empty edit counts as 0; the upper arrow goes down from there and wraps to 100.
  QTest::mouseClick(Arrow(kSpin, "up"), Qt::LeftButton);
  EXPECT_EQ(dialog.GetDlgItemText(kEdit), "100");
  QTest::mouseClick(Arrow(kSpin, "up"), Qt::LeftButton);
  EXPECT_EQ(dialog.GetDlgItemText(kEdit), "99");
  QTest::mouseClick(Arrow(kSpin, "down"), Qt::LeftButton);
  QTest::mouseClick(Arrow(kSpin, "down"), Qt::LeftButton);
  EXPECT_EQ(dialog.GetDlgItemText(kEdit), "0");  // 100 wrapped round to 0

  // The arrow keys in the edit step it too; typing starts from the typed number.
  Edit(kEdit)->setFocus();
  Edit(kEdit)->clear();
  QTest::keyClicks(Edit(kEdit), "5");
  QTest::keyClick(Edit(kEdit), Qt::Key_Up);
  EXPECT_EQ(dialog.GetDlgItemText(kEdit), "4");
  QTest::keyClick(Edit(kEdit), Qt::Key_Down);
  QTest::keyClick(Edit(kEdit), Qt::Key_Down);
  EXPECT_EQ(dialog.GetDlgItemText(kEdit), "6");

  // Typing is not limited by the range; such a number does not move the control.
  Edit(kEdit)->selectAll();
  QTest::keyClicks(Edit(kEdit), "300");
  EXPECT_EQ(dialog.GetDlgItemText(kEdit), "300");
  QTest::keyClick(Edit(kEdit), Qt::Key_Up);
  EXPECT_EQ(dialog.GetDlgItemText(kEdit), "5");  // on from its last number, 6
}

TEST_F(ComboAndSpin, SpinWithoutWrappingStopsAtTheEnds) {
  dialog.SetDlgItemText(kFixedSpinEdit, "0");
  QTest::mouseClick(Arrow(kFixedSpin, "up"), Qt::LeftButton);
  EXPECT_EQ(dialog.GetDlgItemText(kFixedSpinEdit), "0");
  dialog.SetDlgItemText(kFixedSpinEdit, "100");
  QTest::mouseClick(Arrow(kFixedSpin, "down"), Qt::LeftButton);
  EXPECT_EQ(dialog.GetDlgItemText(kFixedSpinEdit), "100");
  QTest::mouseClick(Arrow(kFixedSpin, "up"), Qt::LeftButton);
  EXPECT_EQ(dialog.GetDlgItemText(kFixedSpinEdit), "99");
}

}  // namespace
