// "Lock TP" and the driver calls against the simulated card, end to end.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <unistd.h>

#include "resources/resource_ids.h"
#include "tests/support/file_contents.h"
#include "tests/support/hosted_page.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
#include "tuner/bdacontrol_dlg.h"
#include "tuner/tuner_extension.h"

namespace {

struct Signal {
  LONG quality = 0, strength = 0;
  BOOLEAN locked = 0;
};

Signal ReadSignal() {
  Signal s;
  ComPtr<IBDA_Topology> topology = TheTunerContext().m_pTunerFilter.As<IBDA_Topology>();
  ComPtr<IUnknown> node;
  topology->GetControlNode(0, 1, 0, node.ReleaseAndGetAddressOf());
  ComPtr<IBDA_SignalStatistics> statistics = node.As<IBDA_SignalStatistics>();
  statistics->get_SignalQuality(&s.quality);
  statistics->get_SignalStrength(&s.strength);
  statistics->get_SignalLocked(&s.locked);
  return s;
}

void Fill(CBdacontrolDlg& page, const char* frequency, const char* symbolRate, int polarity, int port) {
  EnterCarrier(page, frequency, symbolRate);
  SelectPolarityAndPort(page, polarity, port);
}

void PressEnter(CBdacontrolDlg& page, int controlId) {
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  page.GetDlgItem(controlId)->setFocus();
  ASSERT_TRUE(page.PreTranslateMessage(&enter));
}

TEST(SimulatedTuning, EnterOnTheFilledPageLocksTheCardOntoASkyTransponder) {
  const std::string trace = testing::TempDir() + "/rx40-trace-lock-" + std::to_string(::getpid()) + ".txt";
  SimulatedPlatform platform(SimConfigFrom("[card]\ntrace = " + trace + "\n"));
  HostedPage<CBdacontrolDlg> page;
  ASSERT_TRUE(platform.Boxes().Texts().empty());

  Fill(*page, "11362", "22000", 0, 1);  // 11362 H 22000, DVB-S2 8PSK, on the satellite the dish faces
  PressEnter(*page, IDC_MOTOR0);
  EXPECT_FALSE(ReadSignal().locked) << "acquisition takes a moment";
  platform.Clock().SleepMs(400);
  const Signal signal = ReadSignal();
  EXPECT_EQ(signal.locked, 1);
  EXPECT_GT(signal.quality, 10);
  EXPECT_GT(signal.strength, 10);
  EXPECT_TRUE(platform.Boxes().Texts().empty());

  const std::string lines = FileText(trace);
  EXPECT_NE(lines.find("Set 0 E0 10 38 F2 00 00 00 00 00 00 04"), std::string::npos) << lines;
  EXPECT_NE(lines.find("Tune carrier=11362000 low=9750000 high=10600000 switch=9750000 pol=H sr=22000"),
            std::string::npos)
      << lines;

  // The report of the locked carrier reaches the program's record.
  EXPECT_EQ(QueryMediaInfo(&*page, true, nullptr), MediaInfoResult::Done);
  EXPECT_EQ(TheMediaInfo().Standard, 1u);
  EXPECT_EQ(TheMediaInfo().Modulation, 1u);
  EXPECT_EQ(TheMediaInfo().Matype1 >> 6, 3u) << "a transport stream";

  // A frequency with no transponder behind it tunes but never locks.
  Fill(*page, "11400", "22000", 0, 1);
  page->OnOK();
  platform.Clock().SleepMs(1000);
  EXPECT_EQ(ReadSignal().locked, 0);
}

TEST(SimulatedTuning, ChoosingAnInputStreamRetunesToIt) {
  SimulatedPlatform platform;
  HostedPage<CBdacontrolDlg> page;
  Fill(*page, "12168", "27500", 0, 0);  // the multiple-input-stream carrier
  page->OnOK();
  platform.Clock().SleepMs(400);
  ASSERT_EQ(ReadSignal().locked, 1);
  ASSERT_EQ(QueryMediaInfo(&*page, true, nullptr), MediaInfoResult::Done);
  EXPECT_EQ(TheMediaInfo().SingleInputStream, 0u);
  EXPECT_TRUE(ApplyInputStreamId(&*page, 10));
  page->OnOK();
  platform.Clock().SleepMs(400);
  ASSERT_EQ(QueryMediaInfo(&*page, true, nullptr), MediaInfoResult::Done);
  EXPECT_EQ(TheMediaInfo().InputStreamId, 10);
  EXPECT_EQ(TheMediaInfo().Matype2, 10u);
}

// Every box the driver's property set can raise, reached through the
// simulated card's fault injection.
TEST(SimulatedTuning, EachInjectedDriverFaultShowsItsBox) {
  struct Case {
    const char* file;
    std::function<void(CBdacontrolDlg&)> action;
    std::vector<std::string> boxes;  // in order, from the page's start on
  };
  auto lockTp = [](CBdacontrolDlg& page) {
    Fill(page, "11362", "22000", 0, 1);
    page.OnOK();
  };
  auto lockTpGs = [](CBdacontrolDlg& page) {
    Fill(page, "11362", "22000", 0, 0);
    page.ComboSetCurSel(IDC_OUTPUT_STREAM, 1);
    page.OnSelchangeOutputStream();
    page.OnOK();
  };
  auto setMotor = [](CBdacontrolDlg& page) {
    for (int i = 0; i < 5; ++i) page.SetDlgItemText(IDC_MOTOR0 + i, i < 2 ? (i ? "0x31" : "0xe0") : "0x0");
    page.OnMotor();
  };
  auto readMediaInfo = [](CBdacontrolDlg& page) { QueryMediaInfo(&page, true, nullptr); };
  auto selectStream = [](CBdacontrolDlg& page) { ApplyInputStreamId(&page, 2); };
  const Case cases[] = {
      {"[faults]\ntuner_input_pin = no_property_set\n", nullptr, {"m_pTunerDevice QueryInterface Failed"}},
      {"[faults]\ntuner_input_pin = missing\n", lockTp, {"m_pKsCtrl==NULL", "m_pKsCtrl==NULL"}},
      {"[faults]\ntuner_input_pin = missing\n", setMotor, {"m_pKsCtrl==NULL", "OnMotor m_pKsCtrl Failed"}},
      {"[driver]\nproperty_13 = unsupported\n", nullptr, {"don't support this interface"}},
      {"[driver]\nproperty_13_get = negative\n", nullptr, {"Get KSPROPERTY_BDA_GET_MEDIAINFO error"}},
      {"[driver]\nproperty_13_set = negative\n", lockTpGs, {"Get KSPROPERTY_BDA_STREAMTYPE_PARAMS error"}},
      {"[driver]\nproperty_0 = unsupported\n", lockTp, {"SendDiseqCommand11 QueryInterface Failed"}},
      {"[driver]\nproperty_0_set = positive\n", lockTp, {"SendDiseqCommand11122 QueryInterface Failed"}},
      {"[driver]\nproperty_0 = unsupported\n", setMotor, {"OnMotor22 false", "KSPROPERTY_CTRL_TUNER false"}},
      {"[driver]\nproperty_0_set = negative\n", setMotor, {"OnMotor11 false"}},
      {"[driver]\ntune = negative\n", lockTp, {"KSPROPERTY_CTRL_TUNER set channel_change false"}},
      {"[driver]\nproperty_12 = unsupported\n", readMediaInfo, {"don't support this interface"}},
      {"[driver]\nproperty_14 = unsupported\n", selectStream, {"don't support this interface"}},
      {"[driver]\nproperty_14_set = negative\n", selectStream, {"Set KSPROPERTY_BDA_INPUTMULTISTREAMID error"}},
  };
  for (const auto& c : cases) {
    SimulatedPlatform platform(SimConfigFrom(c.file));
    HostedPage<CBdacontrolDlg> page;
    if (c.action) c.action(*page);
    EXPECT_EQ(platform.Boxes().Texts(), c.boxes) << c.file;
  }
}

TEST(SimulatedTuning, ATunerWithoutInput0StillBuildsTheGraph) {
  SimulatedPlatform platform(SimConfigFrom("[faults]\ntuner_input_pin = missing\n"));
  HostedPage<CBdacontrolDlg> page;
  EXPECT_EQ(platform.Boxes().Texts(), std::vector<std::string>{"m_pKsCtrl==NULL"}) << "the stream type read at start";
  EXPECT_TRUE(TheTunerContext().m_pGraph);
  EXPECT_TRUE(TheTunerContext().m_pDestFilter);
  EXPECT_FALSE(TheTunerContext().m_pKsCtrl);
  EXPECT_EQ(page->ComboGetCurSel(IDC_OUTPUT_STREAM), 0) << "the page keeps TS without a driver answer";
}

}  // namespace
