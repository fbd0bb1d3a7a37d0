// The stream-information panel on the main window's template: decoding into
// the boxes, clearing, the input stream list and "Apply", against a driver
// whose answers each test sets.
#include "app/stream_info_panel.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <functional>
#include <map>

#include "platform/ui/dialog.h"
#include "resources/resource_ids.h"
#include "tests/support/fake_property_set.h"
#include "tests/support/hosted_page.h"
#include "tests/support/instant_clock.h"
#include "tests/support/message_box_recorder.h"
#include "tuner/tuner_context.h"

namespace {

// The main window's controls without its sheet and monitor.
class MainTemplate final : public CDialog {
 public:
  MainTemplate() : CDialog(IDD_MAIN_DIALOG) {}
};

// Boxes in the order the panel writes them when decoding.
const std::vector<int> kDecodeOrder = {IDC_MATYPE, IDC_STREAM_TYPE, IDC_MODULATION, IDC_INPUT_STREAM,
                                       IDC_CODING_MODULATION, IDC_INPUT_SYNCHRO, IDC_NULL_PACKET_DELETION,
                                       IDC_ROLL_OFF, IDC_DELIVERY_SYSTEM, IDC_FEC, IDC_PILOTS, IDC_FRAME_LENGTH,
                                       IDC_SPECTRUM, IDC_INTERMEDIATE_FREQUENCY, IDC_MEDIA_SYMBOL_RATE};
const std::vector<int> kClearOrder = {IDC_STREAM_TYPE, IDC_DELIVERY_SYSTEM, IDC_MODULATION, IDC_INPUT_STREAM,
                                      IDC_CODING_MODULATION, IDC_INPUT_SYNCHRO, IDC_NULL_PACKET_DELETION,
                                      IDC_ROLL_OFF, IDC_FEC, IDC_INTERMEDIATE_FREQUENCY, IDC_MEDIA_SYMBOL_RATE,
                                      IDC_PILOTS, IDC_FRAME_LENGTH, IDC_SPECTRUM};

// 11362 H 22000 as the card reports it: DVB-S2 8PSK 2/3, transport stream,
// single stream, CCM, roll-off 0.20, pilots, long frame.
TUNER_MEDIA_INFO S2Carrier() {
  TUNER_MEDIA_INFO info{};
  info.IntermediateFrequency = 1612000;
  info.SymbolRate = 22000000;
  info.Standard = 1;
  info.Modcod = 13;
  info.DvbsCodeRate = 8;
  info.Modulation = 1;
  info.StreamType = 3;
  info.SingleInputStream = 1;
  info.ConstantCodingModulation = 1;
  info.RollOff = 2;
  info.Matype1 = 0xF2;
  info.Pilots = 1;
  return info;
}

TUNER_MEDIA_INFO MisCarrier(std::int32_t inputStreamId) {
  TUNER_MEDIA_INFO info = S2Carrier();
  info.SingleInputStream = 0;
  info.InputStreamId = inputStreamId;
  info.Matype1 = 0xD2;
  info.Matype2 = static_cast<std::uint32_t>(inputStreamId);
  return info;
}

class StreamInfoPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    m_driver = MakeComObject<FakePropertySet>();
    TheTunerContext().m_pKsCtrl = ComPtr<IKsPropertySet>(m_driver.Get());
  }
  void TearDown() override { TheTunerContext().m_pKsCtrl = nullptr; }

  std::string Box(int id) { return m_window->GetDlgItemText(id); }
  std::map<int, std::string> Boxes() {
    std::map<int, std::string> texts;
    for (int id : kDecodeOrder) texts[id] = Box(id);
    return texts;
  }
  std::vector<std::string> List() {
    std::vector<std::string> entries;
    for (int i = 0; i < m_window->ComboGetCount(IDC_INPUT_STREAM_LIST); ++i)
      entries.push_back(m_window->ComboGetLBText(IDC_INPUT_STREAM_LIST, i));
    return entries;
  }

  ScopedInstantClock m_clock;
  MessageBoxRecorder m_boxes;
  ComPtr<FakePropertySet> m_driver;
  HostedPage<MainTemplate> m_window;
  std::vector<std::uint64_t> m_retunes;  // the clock's time at each "Lock TP"
  StreamInfoPanel m_panel{*m_window, [this] { m_retunes.push_back(m_clock->NowMs()); }};
};

TEST_F(StreamInfoPanelTest, ShowsEveryFieldOfTheRecordInItsBox) {
  m_panel.ShowMediaInfo(S2Carrier());
  EXPECT_EQ(Boxes(), (std::map<int, std::string>{
                         {IDC_MATYPE, "F2  00"},
                         {IDC_STREAM_TYPE, "TRANSPORT_STREAM"},
                         {IDC_MODULATION, "8PSK"},
                         {IDC_INPUT_STREAM, "SINGLE_INPUT_STREAM"},
                         {IDC_CODING_MODULATION, "CCM"},
                         {IDC_INPUT_SYNCHRO, "ISSYI_DISABLED"},
                         {IDC_NULL_PACKET_DELETION, "NPD_DISABLED"},
                         {IDC_ROLL_OFF, "0.20"},
                         {IDC_DELIVERY_SYSTEM, "DVB-S2"},
                         {IDC_FEC, "2/3"},
                         {IDC_PILOTS, "Pilots On"},
                         {IDC_FRAME_LENGTH, "Long Frame"},
                         {IDC_SPECTRUM, "IQ_NORMAL"},
                         {IDC_INTERMEDIATE_FREQUENCY, "1612000"},
                         {IDC_MEDIA_SYMBOL_RATE, "22000000"},
                     }));
}

TEST_F(StreamInfoPanelTest, DecodesEachFieldsValuesAndThoseOutsideItsRange) {
  using Change = std::function<void(TUNER_MEDIA_INFO&)>;
  const struct {
    const char* what;
    Change change;
    int box;
    std::string shown;
  } cases[] = {
      {"generic packetized", [](auto& i) { i.StreamType = 0; }, IDC_STREAM_TYPE, "GENERIC_PACKETIZED_STREAM"},
      {"stream type 2", [](auto& i) { i.StreamType = 2; }, IDC_STREAM_TYPE, "RESERVED_STREAM"},
      {"stream type 9", [](auto& i) { i.StreamType = 9; }, IDC_STREAM_TYPE, "RESERVED_STREAM"},
      {"16APSK", [](auto& i) { i.Modulation = 2; }, IDC_MODULATION, "16APSK"},
      {"modulation 4", [](auto& i) { i.Modulation = 4; }, IDC_MODULATION, "UNKNOWN"},
      {"multiple streams", [](auto& i) { i.SingleInputStream = 0; }, IDC_INPUT_STREAM, "MULTIPLE_INPUT_STREAM"},
      {"any non-zero is single", [](auto& i) { i.SingleInputStream = 7; }, IDC_INPUT_STREAM, "SINGLE_INPUT_STREAM"},
      {"ACM", [](auto& i) { i.ConstantCodingModulation = 0; }, IDC_CODING_MODULATION, "ACM"},
      {"any non-zero is CCM", [](auto& i) { i.ConstantCodingModulation = 2; }, IDC_CODING_MODULATION, "CCM"},
      {"ISSYI", [](auto& i) { i.InputStreamSynchro = 1; }, IDC_INPUT_SYNCHRO, "ISSYI_ENABLED"},
      {"only 1 enables ISSYI", [](auto& i) { i.InputStreamSynchro = 2; }, IDC_INPUT_SYNCHRO, "ISSYI_DISABLED"},
      {"NPD", [](auto& i) { i.NullPacketDeletion = 1; }, IDC_NULL_PACKET_DELETION, "NPD_ENABLED"},
      {"only 1 enables NPD", [](auto& i) { i.NullPacketDeletion = 3; }, IDC_NULL_PACKET_DELETION, "NPD_DISABLED"},
      {"roll-off 0.35", [](auto& i) { i.RollOff = 0; }, IDC_ROLL_OFF, "0.35"},
      {"roll-off 3", [](auto& i) { i.RollOff = 3; }, IDC_ROLL_OFF, "RESERVED"},
      {"DVB-S", [](auto& i) { i.Standard = 0; }, IDC_DELIVERY_SYSTEM, "DVB-S1"},
      {"DVB-S takes its own code rate", [](auto& i) { i.Standard = 0, i.DvbsCodeRate = 6; }, IDC_FEC, "7/8"},
      {"MODCOD 29", [](auto& i) { i.Modcod = 29; }, IDC_FEC, "UNKNOW"},
      {"MODCOD 31", [](auto& i) { i.Modcod = 31; }, IDC_FEC, "NULL"},
      {"DVB-S rate 8", [](auto& i) { i.Standard = 0, i.DvbsCodeRate = 8; }, IDC_FEC, "UNKNOWN"},
      {"DVB-S rate 9", [](auto& i) { i.Standard = 0, i.DvbsCodeRate = 9; }, IDC_FEC, "NULL"},
      {"only 1 is pilots on", [](auto& i) { i.Pilots = 2; }, IDC_PILOTS, "Pilots Off"},
      {"short frame", [](auto& i) { i.ShortFrame = 1; }, IDC_FRAME_LENGTH, "Short Frame"},
      {"only 1 is a short frame", [](auto& i) { i.ShortFrame = 2; }, IDC_FRAME_LENGTH, "Long Frame"},
      {"inverted", [](auto& i) { i.SpectrumInversion = 1; }, IDC_SPECTRUM, "IQ_SWAPPED"},
      {"only 1 is inverted", [](auto& i) { i.SpectrumInversion = 3; }, IDC_SPECTRUM, "IQ_NORMAL"},
      {"MATYPE in upper case", [](auto& i) { i.Matype1 = 0x3a, i.Matype2 = 0xff; }, IDC_MATYPE, "3A  FF"},
      {"MATYPE bytes are the low 8 bits", [](auto& i) { i.Matype1 = 0x1F2, i.Matype2 = 0xAB0A; }, IDC_MATYPE,
       "F2  0A"},
      {"signed IF", [](auto& i) { i.IntermediateFrequency = -5; }, IDC_INTERMEDIATE_FREQUENCY, "-5"},
  };
  for (const auto& c : cases) {
    TUNER_MEDIA_INFO info = S2Carrier();
    c.change(info);
    m_panel.ShowMediaInfo(info);
    EXPECT_EQ(Box(c.box), c.shown) << c.what;
  }
}

TEST_F(StreamInfoPanelTest, CodeRatesFollowTheirSystemsTables) {
  const std::vector<std::string> dvbs2 = {"NULL", "1/4", "1/3", "2/5", "1/2", "3/5", "2/3", "3/4", "4/5",
                                          "5/6",  "8/9", "9/10", "3/5", "2/3", "3/4", "5/6", "8/9", "9/10",
                                          "2/3",  "3/4", "4/5", "5/6", "8/9", "9/10", "3/4", "4/5", "5/6",
                                          "8/9",  "9/10", "UNKNOW", "NULL", "NULL", "NULL"};
  const std::vector<std::string> dvbs = {"1/2", "2/3", "3/4", "4/5", "5/6", "6/7", "7/8", "8/9", "UNKNOWN", "NULL",
                                         "NULL"};
  TUNER_MEDIA_INFO info = S2Carrier();
  for (std::uint32_t modcod = 0; modcod < dvbs2.size(); ++modcod) {
    info.Modcod = modcod;
    info.DvbsCodeRate = 0;  // not the system's table
    m_panel.ShowMediaInfo(info);
    EXPECT_EQ(Box(IDC_FEC), dvbs2[modcod]) << "MODCOD " << modcod;
  }
  info.Standard = 0;
  for (std::uint32_t rate = 0; rate < dvbs.size(); ++rate) {
    info.DvbsCodeRate = rate;
    info.Modcod = 4;
    m_panel.ShowMediaInfo(info);
    EXPECT_EQ(Box(IDC_FEC), dvbs[rate]) << "DVB-S rate " << rate;
  }
}

TEST_F(StreamInfoPanelTest, AnUnknownDeliverySystemEmptiesItsTwoBoxesForThatCycle) {
  m_panel.ShowMediaInfo(S2Carrier());
  TUNER_MEDIA_INFO info = S2Carrier();
  info.Standard = 2;
  info.Modulation = 2;
  m_panel.ShowMediaInfo(info);
  EXPECT_EQ(Box(IDC_DELIVERY_SYSTEM), "");
  EXPECT_EQ(Box(IDC_FEC), "");
  EXPECT_EQ(Box(IDC_MODULATION), "16APSK") << "the other boxes are still written";
  m_panel.ShowMediaInfo(S2Carrier());
  EXPECT_EQ(Box(IDC_DELIVERY_SYSTEM), "DVB-S2");
}

TEST_F(StreamInfoPanelTest, WritesAndClearsTheBoxesInTheirFixedOrder) {
  std::vector<int> written;
  for (int id : kDecodeOrder) {
    auto* edit = qobject_cast<QLineEdit*>(m_window->GetDlgItem(id));
    ASSERT_NE(edit, nullptr) << id;
    QObject::connect(edit, &QLineEdit::textChanged, edit, [&written, id] { written.push_back(id); });
  }
  m_panel.ShowMediaInfo(S2Carrier());  // every box changes from empty
  EXPECT_EQ(written, kDecodeOrder);
  written.clear();
  m_panel.ClearMediaInfo();
  EXPECT_EQ(written, kClearOrder);
}

TEST_F(StreamInfoPanelTest, ClearingKeepsTheMatypeBytesAndTheList) {
  m_panel.ShowMediaInfo(MisCarrier(12));
  m_panel.ClearMediaInfo();
  for (const auto& [id, text] : Boxes()) EXPECT_EQ(text, id == IDC_MATYPE ? "D2  0C" : "") << id;
  EXPECT_EQ(List(), std::vector<std::string>{"12"});
}

TEST_F(StreamInfoPanelTest, TheListGathersEachInputStreamOnceInTextOrder) {
  const struct {
    const char* what;
    std::vector<TUNER_MEDIA_INFO> reports;
    std::vector<std::string> listed;
  } cases[] = {
      {"a single stream never adds", {S2Carrier(), S2Carrier()}, {}},
      {"1, 2 and 10 sort as texts", {MisCarrier(1), MisCarrier(2), MisCarrier(10)}, {"1", "10", "2"}},
      {"1 beside 12, and 12 only once", {MisCarrier(12), MisCarrier(1), MisCarrier(12), MisCarrier(1)}, {"1", "12"}},
  };
  for (const auto& c : cases) {
    HostedPage<MainTemplate> window;
    StreamInfoPanel panel(*window, [] {});
    for (const auto& report : c.reports) panel.ShowMediaInfo(report);
    std::vector<std::string> listed;
    for (int i = 0; i < window->ComboGetCount(IDC_INPUT_STREAM_LIST); ++i)
      listed.push_back(window->ComboGetLBText(IDC_INPUT_STREAM_LIST, i));
    EXPECT_EQ(listed, c.listed) << c.what;
  }
}

// The demodulator can lose the carrier between the monitor's lock reading
// and its media-information read (the driver then reports all zero).
TEST_F(StreamInfoPanelTest, AReportWithoutACarrierChangesNothing) {
  m_panel.ShowMediaInfo(MisCarrier(3));
  const auto shown = Boxes();
  m_panel.ShowMediaInfo(TUNER_MEDIA_INFO{});
  EXPECT_EQ(Boxes(), shown);
  EXPECT_EQ(List(), std::vector<std::string>{"3"}) << "no stream 0";
}

TEST_F(StreamInfoPanelTest, ANewEntryDoesNotChangeTheOperatorsChoice) {
  m_panel.ShowMediaInfo(MisCarrier(2));
  m_window->ComboSetCurSel(IDC_INPUT_STREAM_LIST, 0);
  m_panel.ShowMediaInfo(MisCarrier(1));  // sorts before the chosen entry
  EXPECT_EQ(m_window->GetDlgItemText(IDC_INPUT_STREAM_LIST), "2");
}

TEST_F(StreamInfoPanelTest, ApplySelectsTheChosenStreamAndTunesAgainHalfASecondLater) {
  for (std::int32_t id : {2, 10, 1}) m_panel.ShowMediaInfo(MisCarrier(id));
  m_window->ComboSetCurSel(IDC_INPUT_STREAM_LIST, 1);  // "10"
  m_clock->ClearSleeps();
  const std::uint64_t pressed = m_clock->NowMs();
  m_panel.Apply();

  const auto sets = m_driver->CallsOf("Set");
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0].id, KSPROPERTY_BDA_INPUTMULTISTREAMID);
  std::vector<std::uint8_t> request(72, 0);
  request[48] = 10;
  EXPECT_EQ(sets[0].bytes, request);
  EXPECT_EQ(m_clock->Sleeps(), std::vector<std::uint32_t>{500});
  EXPECT_EQ(m_retunes, std::vector<std::uint64_t>{pressed + 500}) << "one Lock TP, after the wait";
  EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(StreamInfoPanelTest, ApplyWithoutAUsableEntryOrDriverTunesNothing) {
  const struct {
    const char* what;
    bool listed, chosen, driverInterface;
    std::function<void(FakePropertySet&)> fault;
    std::vector<std::string> boxes;
    std::size_t writes;
  } cases[] = {
      {"empty list", false, true, true, nullptr, {"NULL"}, 0},
      {"nothing chosen", true, false, true, nullptr, {"NULL"}, 0},
      {"no driver interface", true, true, false, nullptr, {}, 0},
      {"driver lacks property 14", true, true, true,
       [](FakePropertySet& d) { d.supportResult[KSPROPERTY_BDA_INPUTMULTISTREAMID] = E_NOTIMPL; },
       {"don't support this interface"}, 0},
      {"driver refuses the stream", true, true, true,
       [](FakePropertySet& d) { d.setResult[KSPROPERTY_BDA_INPUTMULTISTREAMID] = E_INVALIDARG; },
       {"Set KSPROPERTY_BDA_INPUTMULTISTREAMID error"}, 1},
  };
  for (const auto& c : cases) {
    HostedPage<MainTemplate> window;
    int retunes = 0;
    StreamInfoPanel panel(*window, [&retunes] { ++retunes; });
    ComPtr<FakePropertySet> driver = MakeComObject<FakePropertySet>();
    TheTunerContext().m_pKsCtrl = c.driverInterface ? ComPtr<IKsPropertySet>(driver.Get()) : nullptr;
    if (c.fault) c.fault(*driver);
    if (c.listed) panel.ShowMediaInfo(MisCarrier(3));
    if (c.chosen) window->ComboSetCurSel(IDC_INPUT_STREAM_LIST, 0);
    m_boxes.Clear();
    m_clock->ClearSleeps();

    panel.Apply();
    EXPECT_EQ(m_boxes.Texts(), c.boxes) << c.what;
    EXPECT_EQ(driver->CallsOf("Set").size(), c.writes) << c.what;
    EXPECT_EQ(retunes, 0) << c.what;
    EXPECT_TRUE(m_clock->Sleeps().empty()) << c.what;
  }
}

TEST_F(StreamInfoPanelTest, AFailedReadLeavesThePanelAsTheLastCycleLeftIt) {
  m_driver->getData[KSPROPERTY_BDA_GET_MEDIAINFO] = [] {
    TUNER_MEDIA_INFO info = MisCarrier(10);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&info);
    return std::vector<std::uint8_t>(bytes, bytes + sizeof info);
  }();
  ASSERT_EQ(QueryMediaInfo(&*m_window, true, &m_panel), MediaInfoResult::Done);
  const auto shown = Boxes();
  ASSERT_EQ(shown.at(IDC_MATYPE), "D2  0A");

  m_driver->getResult[KSPROPERTY_BDA_GET_MEDIAINFO] = E_FAIL;
  EXPECT_EQ(QueryMediaInfo(&*m_window, true, &m_panel), MediaInfoResult::ReadFailed);
  EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Get KSPROPERTY_BDA_GET_MEDIAINFO error"});
  EXPECT_EQ(Boxes(), shown);
  EXPECT_EQ(List(), std::vector<std::string>{"10"});

  m_driver->supportResult[KSPROPERTY_BDA_GET_MEDIAINFO] = E_NOTIMPL;
  QueryMediaInfo(&*m_window, true, &m_panel);
  EXPECT_EQ(m_boxes.Boxes().back().text, "don't support this interface");
  EXPECT_EQ(m_boxes.Boxes().back().owner, &*m_window) << "the failure boxes belong to the main window";
  EXPECT_EQ(Boxes(), shown);
}

}  // namespace

namespace {

TEST_F(StreamInfoPanelTest, TheMatypeBoxSaysWhenTheDriverDerivedTheBytes) {
  QWidget* matype = m_window->GetDlgItem(IDC_MATYPE);
  m_panel.ShowMediaInfo(S2Carrier());
  EXPECT_TRUE(matype->toolTip().isEmpty()) << "received bytes need no note";
  m_driver->matypeOrigin = MatypeOrigin::Derived;
  m_panel.ShowMediaInfo(S2Carrier());
  EXPECT_TRUE(matype->toolTip().startsWith("Derived")) << matype->toolTip().toStdString();
  m_driver->matypeOrigin = MatypeOrigin::Received;
  m_panel.ShowMediaInfo(S2Carrier());
  EXPECT_TRUE(matype->toolTip().isEmpty()) << "a card that reports the bytes again clears the note";
}

}  // namespace
