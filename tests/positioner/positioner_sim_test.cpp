// The Motor/Positioner page against the simulated card, end to end: the
// shipped lists, USALS, the dish turning in simulated time, and a lock on
// the satellite it turned to.
#include <gtest/gtest.h>

#include <QTest>
#include <filesystem>

#include "app/bda_util_app.h"
#include "app/bda_util_dlg.h"
#include "positioner/position_dlg.h"
#include "resources/resource_ids.h"
#include "tests/support/hosted_page.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
#include "tests/support/ui_test_helpers.h"
#include "tuner/bdacontrol_dlg.h"

namespace fs = std::filesystem;

namespace {

void SelectEntry(CDialog& page, int comboId, const std::string& text) {
  const int index = page.ComboFindStringExact(comboId, text);
  ASSERT_GE(index, 0) << text;
  page.ComboSetCurSel(comboId, index);
}

// Advances the simulated time until the dish stands still, as the page shows it.
std::string WaitForTheDish(CPositionDlg& page, InstantClock& clock) {
  for (int i = 0; i < 200; ++i) {
    clock.SleepMs(500);
    page.ShowDishMotion();
    const std::string shown = page.GetDlgItemText(IDC_POS_DISH_MOTION);
    if (shown.ends_with("stopped")) return shown;
  }
  return "still moving";
}

TEST(PositionerOnTheSimulatedCard, GoFromACityToAnotherSatelliteThenTuneAndLock) {
  SimulatedPlatform platform;
  fs::copy(RX40_DATA_DIR, platform.Folder(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  CBDAUtilApp app(platform.Folder());
  std::string before, outcome, sent, after, arrival, tunedFrequency, lockText;
  WhenModalRuns([&] {
    auto* dialog = static_cast<CBDAUtilDlg*>(FindOpenDialog(IDD_MAIN_DIALOG));
    ASSERT_NE(dialog, nullptr);
    dialog->Sheet().SetActivePage(2);
    auto& page = *static_cast<CPositionDlg*>(dialog->Sheet().GetPage(2));
    before = page.GetDlgItemText(IDC_POS_DISH_MOTION);  // on Sat 23.5E, where the dish starts
    dialog->TunerPage().SetDlgItemText(IDC_LNB_LOW, "9750");  // as set up before any move
    dialog->TunerPage().SetDlgItemText(IDC_LNB_HIGH, "10600");

    SelectEntry(page, IDC_POS_COUNTRY, "Germany");
    page.FillCityList();
    SelectEntry(page, IDC_POS_CITY, "Mainz");
    page.ShowCityPosition();
    EXPECT_EQ(page.GetDlgItemText(IDC_POS_LATITUDE), "50.00");
    EXPECT_EQ(page.GetDlgItemText(IDC_POS_LONGITUDE), "8.27");
    ASSERT_GE(page.ComboSelectString(IDC_POS_SATELLITE, -1, "0090"), 0);
    EXPECT_EQ(page.GetDlgItemText(IDC_POS_SATELLITE), "0090  Eutelsat 9B");
    QTest::mouseClick(page.GetDlgItem(IDC_POS_GO), Qt::LeftButton);
    outcome = page.GetDlgItemText(IDC_POS_USALS_OUTCOME);
    sent = page.GetDlgItem(IDC_POS_USALS_OUTCOME)->toolTip().toStdString();
    after = WaitForTheDish(page, platform.Clock());
    // The countdown ends, the reference transponder of 9.0E is tuned on the
    // Tuner Setting page and locks.
    for (int i = 0; i < 100 && !page.GetDlgItemText(IDC_POS_USALS_OUTCOME).starts_with("Arrived"); ++i) {
      platform.Clock().SleepMs(250);
      page.OnTimer(CPositionDlg::kDishMotionTimer);
    }
    arrival = page.GetDlgItemText(IDC_POS_USALS_OUTCOME);
    tunedFrequency = dialog->TunerPage().GetDlgItemText(IDC_FREQUENCY);

    // A transponder of Sat 9.0E: 11060 H 30000, DVB-S2 8PSK 5/6.
    dialog->Sheet().SetActivePage(0);
    CBdacontrolDlg& tuner = dialog->TunerPage();
    EnterCarrier(tuner, "11060", "30000");
    SelectPolarityAndPort(tuner, 0, 0);  // the reference left it on vertical
    QTest::mouseClick(tuner.GetDlgItem(IDC_LOCK_TP), Qt::LeftButton);
    EXPECT_TRUE(WaitUntil([&] { return dialog->GetDlgItemText(IDC_LOCK_TEXT) == "LOCKED"; }));
    lockText = dialog->GetDlgItemText(IDC_LOCK_TEXT);
    dialog->OnCancel();
  });
  app.InitInstance();
  EXPECT_EQ(before, "Dish -17.00\u00B0, stopped");
  // 16.2 degrees at 1.5 a second, and a second to settle.
  EXPECT_EQ(outcome, "Moving to 0090: 12 s");
  EXPECT_EQ(sent, "Angle -0.802\u00B0: sent E1 31 6E E0 0D");
  EXPECT_EQ(after, "Dish -0.81\u00B0, stopped");  // 13/16 of a degree east
  EXPECT_EQ(arrival.rfind("Arrived: LOCKED on 11 976 V 27 500 (quality ", 0), 0u) << arrival;
  EXPECT_EQ(tunedFrequency, "11976") << "the window shows the transponder the card is on";
  EXPECT_EQ(lockText, "LOCKED");
  EXPECT_TRUE(platform.Boxes().Texts().empty()) << platform.Boxes().Texts()[0];
  EXPECT_EQ(platform.Card().Driver()->Pointing().satelliteIndex, 2u);
}

TEST(PositionerOnTheSimulatedCard, ManualButtonsAndSetMotorDriveTheSameMotor) {
  SimulatedPlatform platform;
  HostedPage<CBdacontrolDlg> tuner;  // opens the driver
  HostedPage<CPositionDlg> page;
  auto click = [&](CDialog& dialog, int id) { QTest::mouseClick(dialog.GetDlgItem(id), Qt::LeftButton); };
  auto dish = [&] { return WaitForTheDish(*page, platform.Clock()); };

  // "Set Motor" with a hand-typed angular goto: 5.0 degrees west.
  const char* bytes[] = {"0xe0", "0x31", "0x6e", "0xd0", "0x50"};
  for (int i = 0; i < 5; ++i) tuner->SetDlgItemText(IDC_MOTOR0 + i, bytes[i]);
  click(*tuner, IDC_SET_MOTOR);
  EXPECT_EQ(dish(), "Dish 5.00\u00B0, stopped");

  page->SetDlgItemText(IDC_POS_NUMBER, "3");
  click(*page, IDC_POS_STORE);
  // Each command goes twice, back to back: the second step starts over
  // from where the first has got to, so a click is one step.
  click(*page, IDC_POS_STEP_WEST);
  EXPECT_EQ(dish(), "Dish 5.10\u00B0, stopped");
  click(*page, IDC_POS_LIMIT_WEST);
  click(*page, IDC_POS_DRIVE_WEST);
  EXPECT_EQ(dish(), "Dish 5.10\u00B0, stopped") << "held at the west limit";
  click(*page, IDC_POS_DRIVE_EAST);
  platform.Clock().SleepMs(2000);
  click(*page, IDC_POS_STOP);
  EXPECT_EQ(dish(), "Dish 2.10\u00B0, stopped");
  click(*page, IDC_POS_GOTO);  // stored position 3
  EXPECT_EQ(dish(), "Dish 5.00\u00B0, stopped");
  page->SetDlgItemText(IDC_POS_NUMBER, "0");
  click(*page, IDC_POS_GOTO);  // the reference
  EXPECT_EQ(dish(), "Dish 0.00\u00B0, stopped");
  EXPECT_TRUE(platform.Boxes().Texts().empty());
}

}  // namespace
