#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <atomic>
#include <optional>
#include <thread>
#include <tuple>

#include "platform/ui/dialog.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/resource_registry.h"
#include "tests/support/ui_test_helpers.h"

namespace {

using namespace ui;

constexpr int kTestDialog = 9001;

void RegisterTestDialog() {
  RegisterDialogTemplate({kTestDialog, "Test", 200, 100,
                          {
                              {10, ControlKind::Edit, "start", {4, 4, 60, 12}, kBorder},
                              {11, ControlKind::DropDownList, "", {4, 20, 60, 60}, kSorted},
                              {12, ControlKind::ProgressBar, "", {4, 40, 60, 8}},
                              {13, ControlKind::Edit, "", {4, 52, 34, 14}, kDisabled | kBorder},  // the lock text box
                          }});
}

TEST(DialogUnits, TheDialogFontGivesTheClassicBaseUnitsSoTheBannerFits) {
  const BaseUnits units = BaseUnitsOf(DialogFont());
  EXPECT_EQ(units.x, 6);
  EXPECT_EQ(units.y, 13);
  const QRect banner = DluToPixels({0, 0, 313, 25}, units);
  EXPECT_NEAR(banner.width(), 470, 1);
  EXPECT_NEAR(banner.height(), 41, 1);
  EXPECT_EQ(DluToPixels({4, 8, 4, 8}, {6, 13}), QRect(6, 13, 6, 13));
}

class TestDialog : public CDialog {
 public:
  TestDialog() : CDialog(kTestDialog) {}
};

TEST(Dialog, ControlsAnswerByIdFromAnyThread) {
  RegisterTestDialog();
  TestDialog dialog;
  WhenModalRuns([&] {
    EXPECT_EQ(dialog.GetDlgItemText(10), "start");
    EXPECT_EQ(dialog.GetDlgItem(10)->objectName(), "10");
    // A sorted list orders its texts as texts and keeps the selection.
    for (const char* text : {"12", "1", "2"}) dialog.ComboAddString(11, text);
    dialog.ComboSetCurSel(11, 0);
    dialog.ComboAddString(11, "10");
    EXPECT_EQ(dialog.ComboGetLBText(11, 0), "1");
    EXPECT_EQ(dialog.ComboGetLBText(11, 1), "10");
    EXPECT_EQ(dialog.ComboGetLBText(11, 2), "12");
    EXPECT_EQ(dialog.ComboGetLBText(11, 3), "2");
    EXPECT_EQ(dialog.ComboGetCurSel(11), 0);
    dialog.ComboSetCurSel(11, 9);
    EXPECT_EQ(dialog.ComboGetCurSel(11), -1) << "an index past the list clears the selection";

    // A worker thread's calls run on the UI thread and wait for it.
    std::atomic<bool> done = false;
    std::thread worker([&] {
      dialog.SetDlgItemText(10, "from worker");
      dialog.ProgressSetPos(12, 150);
      done = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(dialog.GetDlgItemText(10), "from worker");
    EXPECT_EQ(dialog.ProgressGetPos(12), 100) << "a value past the end fills the bar";

    dialog.SetDlgItemText(13, "UNLOCKED");
    auto* small = static_cast<QLineEdit*>(dialog.GetDlgItem(13));
    EXPECT_LE(QFontMetrics(small->font()).horizontalAdvance("UNLOCKED"), small->contentsRect().width())
        << "a display box shows its whole value";
    dialog.OnOK();
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(dialog.IsCreated());
}

TEST(Dialog, AFlaggedFieldGetsItsOwnFontBackWhenTheFlagGoes) {
  RegisterTestDialog();
  TestDialog dialog;
  WhenModalRuns([&] {
    QWidget* inherited = dialog.GetDlgItem(10);
    dialog.SetDlgItemText(13, "UNLOCKED");  // a display box's font is its own, fitted to the text
    QWidget* own = dialog.GetDlgItem(13);
    const QFont ownFont = own->font();
    for (int id : {10, 13}) {
      dialog.FlagDlgItem(id, "Please enter a positive integer.");
      EXPECT_TRUE(dialog.IsDlgItemFlagged(id));
      dialog.FlagDlgItem(id, "");
      EXPECT_FALSE(dialog.IsDlgItemFlagged(id));
    }
    EXPECT_EQ(inherited->font(), DialogFont());
    EXPECT_FALSE(inherited->testAttribute(Qt::WA_SetFont)) << "it follows the dialog's font again";
    EXPECT_EQ(own->font(), ownFont);
    dialog.OnOK();
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

}  // namespace

namespace {

TEST(DataExchange, UnsignedDecimalTextsAndMessageArguments) {
  const std::pair<const char*, std::optional<std::uint32_t>> texts[] = {
      {"0", 0u},          {"65535", 65535u}, {" 42 ", 42u},   {"\t7\n", 7u},  {"4294967295", 4294967295u},
      {"4294967296", {}}, {"", {}},          {"  ", {}},      {"-1", {}},     {"+1", {}},
      {"1 2", {}},        {"12abc", {}},     {"0x10", {}},    {"1e3", {}},
  };
  for (const auto& [text, expected] : texts) {
    std::uint32_t value = 99;
    EXPECT_EQ(ParseUnsignedDecimal(text, &value), expected.has_value()) << '"' << text << '"';
    EXPECT_EQ(value, expected.value_or(99)) << '"' << text << '"';
  }
  EXPECT_EQ(FormatMessageText("between %1 and %2.", {"50", "800000"}), "between 50 and 800000.");
  EXPECT_EQ(FormatMessageText("%2 %1 %3 100%", {"a", "b"}), "b a %3 100%");
}

TEST(StringTable, TheUsersLanguageElseTheNeutralTextElseEnglish) {
  ui::RegisterString(9101, "zh", "中文");
  ui::RegisterString(9101, "en", "English");
  ui::RegisterString(9102, "neutral");
  ui::RegisterString(9102, "zh", "中性");
  const std::tuple<const char*, int, const char*> cases[] = {
      {"zh", 9101, "中文"}, {"en", 9101, "English"}, {"de", 9101, "English"},
      {"de", 9102, "neutral"}, {"zh", 9102, "中性"}, {"zh", 9103, ""},
  };
  for (const auto& [language, id, expected] : cases) {
    ui::SetUiLanguage(language);
    EXPECT_EQ(ui::LoadString(id), expected) << language << " " << id;
  }
  ui::SetUiLanguage("");
}

TEST(FileDialog, ClassicFiltersBecomeQtFiltersWithEveryFileMeaningEveryFile) {
  EXPECT_EQ(NameFiltersFrom("TS Files (*.ts)|*.ts|All Files (*.*)|*.*||"),
            (std::vector<std::string>{"TS Files (*.ts)", "All Files (*)"}));
  EXPECT_EQ(NameFiltersFrom("Streams|*.ts;*.m2ts||"), (std::vector<std::string>{"Streams (*.ts *.m2ts)"}));
  EXPECT_TRUE(NameFiltersFrom("").empty());
}

}  // namespace
