// The Tuner Setting page and the driver calls on a real card (the Linux DVB
// backend on the fake kernel): the program works unchanged, and the kernel
// sees the switch message, the SEC sequence and the tune it means.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include "resources/resource_ids.h"
#include "tests/support/hosted_page.h"
#include "tests/support/linuxdvb_platform.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
#include "tuner/bdacontrol_dlg.h"
#include "tuner/matype_origin.h"
#include "tuner/tuner_extension.h"

namespace {

BOOLEAN ReadLock() {
  ComPtr<IBDA_Topology> topology = TheTunerContext().m_pTunerFilter.As<IBDA_Topology>();
  ComPtr<IUnknown> node;
  topology->GetControlNode(0, 1, 0, node.ReleaseAndGetAddressOf());
  BOOLEAN locked = 0;
  node.As<IBDA_SignalStatistics>()->get_SignalLocked(&locked);
  return locked;
}

void Fill(CBdacontrolDlg& page, const char* frequency, int polarity, int port) {
  EnterCarrier(page, frequency, "22000");
  SelectPolarityAndPort(page, polarity, port);
}

TEST(RealCardTuning, EnterOnTheFilledPageSwitchesTunesAndLocksTheAdapter) {
  LinuxDvbPlatform platform;
  HostedPage<CBdacontrolDlg> page;
  ASSERT_TRUE(TheTunerContext().m_pKsCtrl) << "the graph found the adapter's tuner and its Input0 pin";
  ASSERT_TRUE(platform.Boxes().Texts().empty());
  platform.Kernel().ClearCalls();

  Fill(*page, "11362", 0, 1);  // 11362 H 22000, port A: low band
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  page->GetDlgItem(IDC_MOTOR0)->setFocus();
  ASSERT_TRUE(page->PreTranslateMessage(&enter));
  EXPECT_TRUE(platform.Boxes().Texts().empty());

  std::vector<std::string> control;
  for (const std::string& call : platform.Kernel().Calls())
    if (call.starts_with("FE_SET_VOLTAGE") || call.starts_with("FE_SET_TONE") || call.starts_with("FE_DISEQC") ||
        call.starts_with("FE_SET_PROPERTY 2=0"))
      control.push_back(call.substr(0, 45));
  // The switch message goes out at the voltage of the polarisation it
  // selects; the tune then finds the supply as it needs it.
  EXPECT_EQ(control, std::vector<std::string>({
                         "FE_SET_VOLTAGE 18",
                         "FE_SET_TONE off",
                         "FE_DISEQC_SEND_MASTER_CMD E0 10 38 F2",
                         "FE_SET_PROPERTY 2=0 17=6 3=1612000 8=22000000",  // DVB-S2, IF, symbol rate
                     }));
  EXPECT_EQ(platform.Kernel().Bus(0), std::vector<std::string>({"bus E0 10 38 F2 at 18 V tone off"}));
  EXPECT_EQ(ReadLock(), 1);

  // The monitor's media information on a real card: derived, and it says so.
  EXPECT_EQ(QueryMediaInfo(&*page, true, nullptr), MediaInfoResult::Done);
  EXPECT_EQ(TheMediaInfo().Standard, 1u);
  EXPECT_EQ(TheMediaInfo().Matype1 >> 6, 3u);
  EXPECT_TRUE(IsMatypeDerived());
}

TEST(RealCardTuning, WhatTheKernelCannotCarryShowsTheExistingBoxes) {
  LinuxDvbPlatform platform;
  HostedPage<CBdacontrolDlg> page;
  platform.Boxes().Clear();

  // Generic stream output: refused by the driver.
  Fill(*page, "11362", 0, 0);
  page->ComboSetCurSel(IDC_OUTPUT_STREAM, 1);
  page->OnSelchangeOutputStream();
  page->OnOK();
  EXPECT_EQ(platform.Boxes().Texts().at(0), "Get KSPROPERTY_BDA_STREAMTYPE_PARAMS error");

  // A two-byte motor message: the kernel carries 3 to 6 bytes.
  platform.Boxes().Clear();
  for (int i = 0; i < 5; ++i) page->SetDlgItemText(IDC_MOTOR0 + i, i < 2 ? (i ? "0x31" : "0xe0") : "0x0");
  page->OnMotor();
  EXPECT_EQ(platform.Boxes().Texts().at(0), "OnMotor11 false");
  EXPECT_NE(platform.Boxes().Boxes().at(0).detail.find("the kernel carries 3 to 6 bytes"), std::string::npos)
      << "the box says why";
  EXPECT_TRUE(platform.Kernel().CallsStartingWith("FE_DISEQC").empty());

  // Five bytes go out.
  platform.Boxes().Clear();
  const char* bytes[] = {"0xe0", "0x31", "0x6e", "0x01", "0x02"};
  for (int i = 0; i < 5; ++i) page->SetDlgItemText(IDC_MOTOR0 + i, bytes[i]);
  page->OnMotor();
  EXPECT_TRUE(platform.Boxes().Texts().empty());
  EXPECT_EQ(platform.Kernel().CallsStartingWith("FE_DISEQC").back(), "FE_DISEQC_SEND_MASTER_CMD E0 31 6E 01 02");
}

TEST(RealCardTuning, TheSimulatedCardsMatypeIsTheCarriersOwn) {
  SimulatedPlatform platform;
  HostedPage<CBdacontrolDlg> page;
  ASSERT_TRUE(TheTunerContext().m_pKsCtrl);
  EXPECT_FALSE(IsMatypeDerived());
}

}  // namespace
