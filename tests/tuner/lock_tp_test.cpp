#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "resources/resource_ids.h"
#include "tests/support/fake_property_set.h"
#include "tests/support/hosted_page.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
#include "settings/tuner_settings.h"
#include "tuner/bdacontrol_dlg.h"

#include <fstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The page on the simulated card, with the driver's property set replaced by
// a recorder once the page is up, so every driver call can be checked.
class LockTpTest : public testing::Test {
 protected:
  void SetUp() override {
    m_page = std::make_unique<HostedPage<CBdacontrolDlg>>();
    m_driver = MakeComObject<FakePropertySet>();
    m_driver->getData[13] = {1, 0};
    TheTunerContext().m_pKsCtrl = ComPtr<IKsPropertySet>(m_driver.Get());
    m_platform.Boxes().Clear();
  }
  void TearDown() override { m_page.reset(); }

  CBdacontrolDlg& Page() { return **m_page; }
  void Fill(const char* frequency, const char* lnbLow, const char* lnbHigh, int polarity, int port) {
    EnterCarrier(Page(), frequency, "27500", lnbLow, lnbHigh);
    SelectPolarityAndPort(Page(), polarity, port);
  }
  std::vector<Bytes> SwitchMessages() {
    std::vector<Bytes> messages;
    for (const auto& call : m_driver->CallsOf("Set"))
      if (call.id == 0) messages.push_back(call.bytes);
    return messages;
  }
  LONG SpaceValue(HRESULT (IDVBSTuningSpace::*get)(LONG*)) {
    LONG value = 0;
    ComPtr<IDVBSTuningSpace> space = ComPtr<ITuningSpace>(Page().TuningSpace()).As<IDVBSTuningSpace>();
    (space.Get()->*get)(&value);
    return value;
  }
  ComPtr<IDVBSLocator> SubmittedLocator() {
    ComPtr<ITuneRequest> request;
    TheTunerContext().m_pNetworkProvider.As<ITuner>()->get_TuneRequest(request.ReleaseAndGetAddressOf());
    ComPtr<ILocator> locator;
    if (request) request->get_Locator(locator.ReleaseAndGetAddressOf());
    return locator.As<IDVBSLocator>();
  }

  SimulatedPlatform m_platform;
  std::unique_ptr<HostedPage<CBdacontrolDlg>> m_page;
  ComPtr<FakePropertySet> m_driver;
};

TEST_F(LockTpTest, TheBandFollowsTheUniversalLnbRuleAndTheSwitchByteCarriesIt) {
  Fill("11699", "9750", "10600", 0, 1);
  Page().OnOK();
  Fill("11700", "9750", "10600", 0, 1);
  Page().OnOK();
  Fill("11000", "9750", "10600", 1, 2);  // vertical, port B, low band
  Page().OnOK();
  Fill("12000", "9750", "10600", 0, 4);  // horizontal, port D, high band
  Page().OnOK();
  Fill("11000", "9750", "10600", 1, 3);  // vertical, port C, low band
  Page().OnOK();
  const auto messages = SwitchMessages();
  ASSERT_EQ(messages.size(), 5u);
  const std::uint8_t expected[] = {0xF2, 0xF3, 0xF4, 0xFF, 0xF8};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(messages[i], (Bytes{0xE0, 0x10, 0x38, expected[i], 0, 0, 0, 0, 0, 0, 4})) << i;
  EXPECT_TRUE(Page().IsDlgItemEnabled(IDC_LOCK_TP));
  EXPECT_TRUE(Page().IsDlgItemEnabled(IDC_SET_MOTOR));
}

// One band decision drives the switch message's band bit, the oscillator the
// IF is computed from and the tone (the locator's band): a universal LNB's
// 11600 MHz is low band although 10600 would give the nearer IF.
TEST_F(LockTpTest, TheSwitchByteTheOscillatorAndTheToneFollowOneBandDecision) {
  const struct {
    const char *frequency, *low, *high;
    std::uint8_t switchData;  // horizontal, port A
    LONG oscillatorKHz;
    LNBBand band;
  } cases[] = {
      {"11600", "9750", "10600", 0xF2, 9750000, BDA_LNB_BAND_LOW},
      {"11700", "9750", "10600", 0xF3, 10600000, BDA_LNB_BAND_HIGH},
      {"3800", "5150", "5150", 0xF2, 5150000, BDA_LNB_BAND_LOW},      // C band: no tone
      {"12300", "11300", "11300", 0xF2, 11300000, BDA_LNB_BAND_LOW},  // 11300: no tone
      {"11800", "10750", "10750", 0xF3, 10750000, BDA_LNB_BAND_HIGH},
      {"10000", "9750", "10600", 0xF2, 0, BDA_LNB_BAND_LOW},  // nothing brings it into range
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.frequency) + " " + c.low + "/" + c.high);
    Fill(c.frequency, c.low, c.high, 0, 1);
    Page().OnOK();
    EXPECT_EQ(SwitchMessages().back()[3], c.switchData);
    EXPECT_EQ(SpaceValue(&IDVBSTuningSpace::get_LNBSwitch), c.oscillatorKHz);
    ComPtr<IDVBSLocator2> locator = SubmittedLocator().As<IDVBSLocator2>();
    ASSERT_TRUE(locator);
    LNBBand band = BDA_LNB_BAND_NOT_SET;
    locator->get_LNBBand(&band);
    EXPECT_EQ(band, c.band);
  }
  EXPECT_EQ(SpaceValue(&IDVBSTuningSpace::get_HighOscillator), 10600000);
  EXPECT_EQ(SpaceValue(&IDVBSTuningSpace::get_LowOscillator), 9750000);
  ComPtr<IDVBSLocator> locator = SubmittedLocator();
  LONG frequency = 0, symbolRate = 0;
  Polarisation polarisation;
  FECMethod outer;
  locator->get_CarrierFrequency(&frequency);
  locator->get_SymbolRate(&symbolRate);
  locator->get_SignalPolarisation(&polarisation);
  locator->get_OuterFEC(&outer);
  EXPECT_EQ(frequency, 10000000);
  EXPECT_EQ(symbolRate, 27500);
  EXPECT_EQ(polarisation, BDA_POLARISATION_LINEAR_H);
  EXPECT_EQ(outer, BDA_FEC_VITERBI);
}

// The settings file's [Tessel] section adds a DiSEqC 1.1 switch behind the
// committed one and a tone-burst switch; the page's controls stay as they are.
TEST_F(LockTpTest, TheToolsSectionAddsAnUncommittedSwitchAndAToneBurst) {
  {
    std::ofstream settings(TunerSettingsPath(), std::ios::app);
    settings << "\n[Tessel]\nuncommitted=3\nburst=B\n";
  }
  Fill("11700", "9750", "10600", 0, 1);
  Page().OnOK();
  ASSERT_EQ(SwitchMessages().size(), 2u);
  EXPECT_EQ(SwitchMessages()[0], (Bytes{0xE0, 0x10, 0x38, 0xF3, 0, 0, 0, 0, 0, 0, 4})) << "the committed switch first";
  EXPECT_EQ(SwitchMessages()[1], (Bytes{0xE0, 0x10, 0x39, 0xF2, 0, 0, 0, 0, 0, 0, 4}));
  ComPtr<IDVBSLocator2> locator = SubmittedLocator().As<IDVBSLocator2>();
  ToneBurst burst = BDA_TONE_BURST_NONE;
  locator->get_ToneBurst(&burst);
  EXPECT_EQ(burst, BDA_TONE_BURST_B);

  // A value that does not read is not used.
  {
    std::ofstream settings(TunerSettingsPath(), std::ios::trunc);
    settings << "[Tessel]\nuncommitted=17\nburst=C\n";
  }
  testing::internal::CaptureStderr();
  Page().OnOK();
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(SwitchMessages().size(), 3u) << "the committed switch only";
  EXPECT_NE(log.find("uncommitted = 17 is not an input from 0 to 16"), std::string::npos) << log;
  EXPECT_NE(log.find("burst = C is not none, A or B"), std::string::npos) << log;
}

TEST_F(LockTpTest, NoPortOrNoPolaritySelection) {
  Fill("11000", "9750", "10600", -1, 0);
  Page().OnOK();
  Fill("11000", "9750", "10600", -1, -1);
  Page().OnOK();
  EXPECT_TRUE(SwitchMessages().empty()) << "Diseqc NULL or no port: no switch message";
  Polarisation polarisation;
  SubmittedLocator()->get_SignalPolarisation(&polarisation);
  EXPECT_EQ(polarisation, BDA_POLARISATION_LINEAR_V) << "no polarity selection tunes vertical";

  Fill("11000", "9750", "10600", -1, 1);
  Page().OnOK();
  ASSERT_EQ(SwitchMessages().size(), 1u);
  EXPECT_EQ(SwitchMessages()[0][3], 0xF0) << "no horizontal bit without a polarity";
}

TEST_F(LockTpTest, TheStreamTypeIsWrittenOnlyWhenTheDriverDiffers) {
  Fill("11000", "9750", "10600", 0, 0);
  Page().OnOK();
  for (const auto& call : m_driver->CallsOf("Set")) EXPECT_NE(call.id, 13u);

  Page().ComboSetCurSel(IDC_OUTPUT_STREAM, 1);  // "GS": nothing happens yet
  Page().OnSelchangeOutputStream();
  EXPECT_TRUE(m_driver->CallsOf("Set").empty());
  Page().OnOK();
  ASSERT_EQ(m_driver->CallsOf("Set").size(), 1u);
  EXPECT_EQ(m_driver->CallsOf("Set")[0].id, 13u);
  EXPECT_EQ(m_driver->CallsOf("Set")[0].bytes, (Bytes{0, 1}));
}

TEST_F(LockTpTest, EnterInAMotorBoxTunesAndDoesNotSendTheMotorMessage) {
  Fill("11000", "9750", "10600", 0, 0);
  QWidget* motorBox = Page().GetDlgItem(IDC_MOTOR0);
  motorBox->setFocus();
  Page().Widget()->window()->activateWindow();
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  EXPECT_TRUE(Page().PreTranslateMessage(&enter));
  EXPECT_FALSE(m_driver->CallsOf("Get").empty()) << "Lock TP reads the stream type first";
  EXPECT_TRUE(SwitchMessages().empty());
}

TEST_F(LockTpTest, SetMotorSendsTheLeadingNonZeroBytes) {
  struct Case {
    std::array<const char*, 5> texts;
    Bytes sent;  // empty: nothing sent
  };
  const Case cases[] = {
      {{"0xe0", "0x31", "0x0", "0x0", "0x0"}, {0xE0, 0x31, 0, 0, 0, 0, 0, 0, 0, 0, 2}},
      {{"e0", "31", "6b", "01", ""}, {0xE0, 0x31, 0x6B, 0x01, 0, 0, 0, 0, 0, 0, 4}},
      {{"e0", "0", "60", "", ""}, {}},
      {{"0xe0", "0x0", "0x60", "0x0", "0x0"}, {}},
      {{"E0", "31", "6E", "1FF", "x"}, {0xE0, 0x31, 0x6E, 0xFF, 0, 0, 0, 0, 0, 0, 4}},
  };
  for (const auto& c : cases) {
    m_driver->calls.clear();
    for (int i = 0; i < 5; ++i) Page().SetDlgItemText(IDC_MOTOR0 + i, c.texts[i]);
    Page().OnMotor();
    const auto sent = SwitchMessages();
    if (c.sent.empty()) {
      EXPECT_TRUE(sent.empty()) << c.texts[0] << " " << c.texts[1];
    } else {
      ASSERT_EQ(sent.size(), 1u);
      EXPECT_EQ(sent[0], c.sent);
    }
  }
  EXPECT_TRUE(m_platform.Boxes().Texts().empty());
  EXPECT_TRUE(Page().IsDlgItemEnabled(IDC_SET_MOTOR));

  TheTunerContext().m_pKsCtrl = nullptr;
  Page().OnMotor();
  EXPECT_EQ(m_platform.Boxes().Texts(), std::vector<std::string>{"OnMotor m_pKsCtrl Failed"});
}

TEST(LockTpWithoutGraph, ReportsThatTheCardWasNotTunedAndKeepsWorking) {
  sim::SimConfig options;
  options.card.captureFaults.visibleFromEnumeration = 3;
  SimulatedPlatform platform(options);
  HostedPage<CBdacontrolDlg> page;
  platform.Boxes().Clear();
  page->SetDlgItemText(IDC_FREQUENCY, "11000");
  page->OnOK();
  const auto texts = platform.Boxes().Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "m_pKsCtrl==NULL");
  EXPECT_EQ(texts.back(), "KSPROPERTY_CTRL_TUNER set channel_change false");
  EXPECT_TRUE(page->IsDlgItemEnabled(IDC_LOCK_TP));
}

}  // namespace
