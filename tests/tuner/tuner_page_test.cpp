#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <functional>
#include <fstream>

#include "platform/media/media_classes.h"
#include "platform/media/tuning/tuning_space_store.h"
#include "recording/dest_filter.h"
#include "resources/resource_ids.h"
#include "tests/support/file_contents.h"
#include "tests/support/hosted_page.h"
#include "tests/support/simulated_platform.h"
#include "tuner/bda_graph.h"
#include "tuner/bdacontrol_dlg.h"
#include "tuner/find_filter.h"

namespace {

int CountFilters(IGraphBuilder* graph) {
  ComPtr<IEnumFilters> filters;
  graph->EnumFilters(filters.ReleaseAndGetAddressOf());
  int count = 0;
  ComPtr<IBaseFilter> filter;
  while (filters->Next(1, filter.ReleaseAndGetAddressOf(), nullptr) == S_OK) ++count;
  return count;
}

bool AllPinsConnected(IBaseFilter* filter, int* free) {
  ComPtr<IEnumPins> pins;
  filter->EnumPins(pins.ReleaseAndGetAddressOf());
  ComPtr<IPin> pin, peer;
  int connected = 0;
  *free = 0;
  while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    if (SUCCEEDED(pin->ConnectedTo(peer.ReleaseAndGetAddressOf()))) ++connected;
    else ++*free;
  }
  return connected > 0;
}

TEST(TunerPage, BuildsTheSevenFilterGraphAndTearsItDownSavingTheSettings) {
  SimulatedPlatform platform;
  TheTunerContext().m_pTunerFilter = FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, kTunerFriendlyName);
  {
    HostedPage<CBdacontrolDlg> page;
    EXPECT_TRUE(platform.Boxes().Texts().empty()) << platform.Boxes().Texts()[0];
    TunerContext& c = TheTunerContext();
    ASSERT_TRUE(c.m_pGraph);
    EXPECT_EQ(CountFilters(c.m_pGraph.Get()), 7);
    for (IBaseFilter* filter : {c.m_pNetworkProvider.Get(), c.m_pTunerFilter.Get(), c.m_pCaptureFilter.Get(),
                                c.m_pDemux.Get(), c.m_pTIF.Get(), static_cast<IBaseFilter*>(c.m_pDestFilter)}) {
      int free = 0;
      EXPECT_TRUE(AllPinsConnected(filter, &free));
    }
    int teeFree = 0;
    AllPinsConnected(c.m_pTee.Get(), &teeFree);
    EXPECT_EQ(teeFree, 1) << "the tee offers one new output once both are in use";
    EXPECT_TRUE(c.m_pKsCtrl);
    EXPECT_TRUE(page->TuningSpace());
    EXPECT_EQ(page->ComboGetCurSel(IDC_OUTPUT_STREAM), 0);
    page.Destroy();
    EXPECT_FALSE(c.m_pGraph);
    EXPECT_FALSE(c.m_pTunerFilter);
    EXPECT_FALSE(c.m_pDestFilter);
    EXPECT_FALSE(c.m_pKsCtrl);
  }
  EXPECT_EQ(FileText(platform.SettingsPath()),
            "[Config]\npolarity=0\ndiseqc=0\nmotor0=\nmotor1=\nmotor2=\nmotor3=\nmotor4=\n"
            "freq=\nsymbol=\nlnblow=\nlnbhigh=\n")
      << "without a file the motor start values do not survive the load";
}

TEST(TunerPage, WithoutASettingsFileTheFieldsComeUpEmptyWithTheFirstEntriesSelected) {
  SimulatedPlatform platform;
  HostedPage<CBdacontrolDlg> page;
  for (int id : {IDC_FREQUENCY, IDC_SYMBOL_RATE, IDC_LNB_LOW, IDC_LNB_HIGH, IDC_MOTOR0, IDC_MOTOR0 + 4})
    EXPECT_EQ(page->GetDlgItemText(id), "") << id;
  EXPECT_EQ(page->ComboGetLBText(IDC_POLARITY, page->ComboGetCurSel(IDC_POLARITY)), "Horizontal");
  EXPECT_EQ(page->ComboGetLBText(IDC_DISEQC, page->ComboGetCurSel(IDC_DISEQC)), "Diseqc NULL");
}

TEST(TunerPage, LoadsAFileWrittenElsewhereAndKeepsEverythingElseInItOnSave) {
  SimulatedPlatform platform;
  const std::string original =
      "[Other]\r\nkeep=this\r\n\r\n[CONFIG]\r\nLnbHigh = 10600\r\nfreq=11362abc\r\nmotor0=0XE0\r\n"
      "polarity=1\r\ndiseqc=3\r\nmotor4=0x6B\r\n[After]\r\nx=1\r\n";
  std::ofstream(platform.SettingsPath(), std::ios::binary) << original;
  {
    HostedPage<CBdacontrolDlg> page;
    EXPECT_EQ(page->GetDlgItemText(IDC_FREQUENCY), "11362abc");
    EXPECT_EQ(page->GetDlgItemText(IDC_LNB_HIGH), "10600");
    EXPECT_EQ(page->GetDlgItemText(IDC_MOTOR0), "0XE0");
    EXPECT_EQ(page->GetDlgItemText(IDC_MOTOR0 + 1), "") << "a missing key empties its start value";
    EXPECT_EQ(page->Polarity(), 1);
    EXPECT_EQ(page->ComboGetLBText(IDC_DISEQC, page->ComboGetCurSel(IDC_DISEQC)), "Diseqc C");
  }
  const std::string saved = FileText(platform.SettingsPath());
  EXPECT_TRUE(saved.starts_with("[Other]\r\nkeep=this\r\n\r\n[CONFIG]\r\n")) << saved;
  EXPECT_NE(saved.find("freq=11362abc\r\n"), std::string::npos);
  EXPECT_NE(saved.find("motor0=0XE0\r\n"), std::string::npos);
  EXPECT_TRUE(saved.ends_with("[After]\r\nx=1\r\n")) << saved;
}

TEST(TunerPage, AStoredIndexOutsideItsListLeavesNoSelectionAndIsSavedAsMinusOne) {
  SimulatedPlatform platform;
  std::ofstream(platform.SettingsPath()) << "[Config]\ndiseqc=9\npolarity=-4\n";
  {
    HostedPage<CBdacontrolDlg> page;
    EXPECT_EQ(page->ComboGetCurSel(IDC_DISEQC), -1);
    EXPECT_EQ(page->Diseqc(), -1);
    EXPECT_EQ(page->Polarity(), -1);
  }
  const std::string saved = FileText(platform.SettingsPath());
  EXPECT_NE(saved.find("diseqc=-1\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("polarity=-1\n"), std::string::npos) << saved;
}

TEST(TunerPage, ACaptureDeviceThatAppearsLateIsFoundThreeSecondsLater) {
  sim::SimConfig options;
  options.card.captureFaults.visibleFromEnumeration = 2;
  SimulatedPlatform platform(options);
  TheTunerContext().m_pTunerFilter = FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, kTunerFriendlyName);
  platform.Clock().ClearSleeps();
  HostedPage<CBdacontrolDlg> page;
  EXPECT_TRUE(TheTunerContext().m_pCaptureFilter);
  EXPECT_EQ(platform.Clock().Sleeps(), std::vector<std::uint32_t>{3000});
  EXPECT_EQ(devices::DeviceRegistry::Instance().EnumerationCount(KSCATEGORY_BDA_NETWORK_TUNER), 1)
      << "the tuner found at start-up is not looked up again";
}

TEST(TunerPage, AMissingCaptureDeviceStopsConstructionAfterItsMessage) {
  sim::SimConfig options;
  options.card.captureFaults.visibleFromEnumeration = 3;
  SimulatedPlatform platform(options);
  HostedPage<CBdacontrolDlg> page;
  ASSERT_EQ(platform.Boxes().Texts(), std::vector<std::string>{"CreateCaptureDevice Failed"});
  EXPECT_EQ(platform.Boxes().Boxes()[0].caption, "error");
  EXPECT_EQ(platform.Boxes().Boxes()[0].owner, &*page);
  const TunerContext& c = TheTunerContext();
  EXPECT_TRUE(c.m_pNetworkProvider);
  EXPECT_TRUE(c.m_pTunerFilter) << "looked up twice, since start-up left it empty";
  EXPECT_FALSE(c.m_pDemux);
  EXPECT_FALSE(c.m_pTee);
  EXPECT_FALSE(c.m_pTIF);
  EXPECT_FALSE(c.m_pDestFilter);
  EXPECT_FALSE(c.m_pKsCtrl);
  EXPECT_EQ(page->ComboGetCurSel(IDC_OUTPUT_STREAM), -1);
  EXPECT_EQ(page->StreamType().TransportStream, 1);
}

// Each creation step that fails shows its message, and no later step runs.
TEST(TunerPage, AFailingStepLeavesThePartialGraphItBuilt) {
  struct Case {
    const char* message;
    std::function<void()> breakIt;
    std::vector<bool> present;  // provider, tuner, capture, demux, tee, TIF, sink
  };
  auto refuse = [](REFCLSID clsid) { RegisterClassFactory(clsid, [](REFIID, void**) { return E_FAIL; }); };
  const Case cases[] = {
      {"CreateDVBSNetworkProvider Failed", [&] { refuse(DVB_SATELLITE_TV_NETWORK_TYPE); },
       {false, true, false, false, false, false, false}},  // the tuner is the one found at start-up
      {"CreateTunerDevice Failed", [] { TheTunerContext().m_pTunerFilter = nullptr; devices::DeviceRegistry::Instance().Clear(); },
       {true, false, false, false, false, false, false}},
      {"CreateMPEG2Demultiplexer Failed", [&] { refuse(CLSID_MPEG2Demultiplexer); },
       {true, true, true, false, false, false, false}},
      {"CreateInfinitePinTee Failed", [&] { refuse(CLSID_InfTee); }, {true, true, true, true, false, false, false}},
      {"CreateTransportInformationFilter Failed", [&] { refuse(CLSID_TransportInformationFilter); },
       {true, true, true, true, true, false, false}},
  };
  for (const auto& c : cases) {
    SimulatedPlatform platform;
    TheTunerContext().m_pTunerFilter = FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, kTunerFriendlyName);
    c.breakIt();
    {
      HostedPage<CBdacontrolDlg> page;
      EXPECT_EQ(platform.Boxes().Texts(), std::vector<std::string>{c.message});
      const TunerContext& t = TheTunerContext();
      const std::vector<bool> present = {bool(t.m_pNetworkProvider), bool(t.m_pTunerFilter), bool(t.m_pCaptureFilter),
                                         bool(t.m_pDemux),           bool(t.m_pTee),         bool(t.m_pTIF),
                                         t.m_pDestFilter != nullptr};
      EXPECT_EQ(present, c.present) << c.message;
      EXPECT_FALSE(t.m_pKsCtrl);
    }
    EXPECT_FALSE(TheTunerContext().m_pGraph) << "teardown empties the partial graph too";
    media::RegisterMediaPlatform();  // puts the refused classes back
  }
}

TEST(TunerPage, TheTransponderBoxesTakeDigitsOnlyAndTheMotorBoxesFreeText) {
  SimulatedPlatform platform;
  HostedPage<CBdacontrolDlg> page;
  for (int id : {IDC_FREQUENCY, IDC_SYMBOL_RATE, IDC_LNB_LOW, IDC_LNB_HIGH}) {
    auto* edit = qobject_cast<QLineEdit*>(page->GetDlgItem(id));
    ASSERT_TRUE(edit && edit->validator());
    QString typed = "11362x";
    int position = 0;
    EXPECT_EQ(edit->validator()->validate(typed, position), QValidator::Invalid) << id;
  }
  EXPECT_EQ(qobject_cast<QLineEdit*>(page->GetDlgItem(IDC_MOTOR0))->validator(), nullptr);
}

TEST(TunerPage, TheTuningSpaceIsRegisteredOnceAndFoundAtTheNextStart) {
  SimulatedPlatform platform;
  const std::string store = tuning::TuningSpaceStorePath();
  for (int start = 0; start < 2; ++start) {
    HostedPage<CBdacontrolDlg> page;
    ASSERT_TRUE(page->TuningSpace());
    std::wstring name;
    page->TuningSpace()->get_UniqueName(&name);
    EXPECT_EQ(name, L"hallmere dvb-s");
  }
  const auto spaces = tuning::LoadTuningSpaces(store);
  ASSERT_EQ(spaces.size(), 1u);
  EXPECT_EQ(spaces[0].friendlyName, L"Local DVBS Tuner");
  EXPECT_EQ(spaces[0].networkType, DVB_SATELLITE_TV_NETWORK_TYPE);
  EXPECT_EQ(spaces[0].lowOscillator, -1);
}

TEST(ConnectPins, ReportsEachFailureAndConnectsNothing) {
  SimulatedPlatform platform;
  ComPtr<IGraphBuilder> graph;
  CoCreateInstance(CLSID_FilterGraph, graph.ReleaseAndGetAddressOf());
  ComPtr<IBaseFilter> tif = FindFilter(KSCATEGORY_BDA_TRANSPORT_INFORMATION, nullptr);
  ComPtr<IBaseFilter> tuner = FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, kTunerFriendlyName);
  graph->AddFilter(tif.Get(), L"tif");
  graph->AddFilter(tuner.Get(), L"tuner");
  CBDAGraph::ConnectPins(nullptr, tif.Get(), tuner.Get(), nullptr, nullptr);
  CBDAGraph::ConnectPins(graph.Get(), nullptr, tuner.Get(), nullptr, nullptr);
  CBDAGraph::ConnectPins(graph.Get(), tif.Get(), nullptr, nullptr, nullptr);
  CBDAGraph::ConnectPins(graph.Get(), tuner.Get(), tif.Get(), L"No such pin", nullptr);
  CBDAGraph::ConnectPins(graph.Get(), tuner.Get(), tif.Get(), nullptr, L"No such pin");
  CBDAGraph::ConnectPins(graph.Get(), tif.Get(), tuner.Get(), nullptr, nullptr);  // the TIF has no output
  const auto boxes = platform.Boxes().Boxes();
  ASSERT_EQ(boxes.size(), 6u);
  EXPECT_EQ(boxes[0].text, "ConnectPins builder == NULL");
  EXPECT_EQ(boxes[1].text, "ConnectPins out_from == NULL");
  EXPECT_EQ(boxes[2].text, "ConnectPins in_to == NULL");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(boxes[i].caption, "error");
  EXPECT_EQ(boxes[3].text, "CBDAGraph::ConnectPins() - No output pin found on filter\r\n");
  EXPECT_EQ(boxes[4].text, "CBDAGraph::ConnectPins() - No input pin found on filter\r\n");
  EXPECT_EQ(boxes[5].text, "CBDAGraph::ConnectPins() - No output pin found on filter\r\n");
  EXPECT_EQ(boxes[5].caption, "OrvaneRX40 Tessel");
}

TEST(ConnectPins, ARefusedConnectionIsReported) {
  SimulatedPlatform platform;
  ComPtr<IGraphBuilder> graph;
  CoCreateInstance(CLSID_FilterGraph, graph.ReleaseAndGetAddressOf());
  // The tuner's output carries a transport stream; the tuner's own input
  // pin takes it, but a second tuner's input is not what this tests: the
  // transport information filter refuses a stream that is not a transport stream.
  ComPtr<IBaseFilter> provider;
  CoCreateInstance(DVB_SATELLITE_TV_NETWORK_TYPE, provider.ReleaseAndGetAddressOf());
  ComPtr<IBaseFilter> tif = FindFilter(KSCATEGORY_BDA_TRANSPORT_INFORMATION, nullptr);
  graph->AddFilter(provider.Get(), L"provider");
  graph->AddFilter(tif.Get(), L"tif");
  CBDAGraph::ConnectPins(graph.Get(), provider.Get(), tif.Get(), nullptr, nullptr);
  EXPECT_EQ(platform.Boxes().Texts(),
            std::vector<std::string>{"CBDAGraph::ConnectPins() - Could not connect pins together. Error was: "});
}

TEST(GetPinByName, TakesTheLastPinWhoseNameContainsTheText) {
  SimulatedPlatform platform;
  ComPtr<IBaseFilter> tuner = FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, kTunerFriendlyName);
  ComPtr<IPin> pin = GetPinByName(tuner.Get(), "Input0");
  ASSERT_TRUE(pin);
  PIN_DIRECTION direction;
  pin->QueryDirection(&direction);
  EXPECT_EQ(direction, PINDIR_INPUT);
  EXPECT_TRUE(GetPinByName(tuner.Get(), "put0")) << "a fragment is enough";
  EXPECT_FALSE(GetPinByName(tuner.Get(), "input0")) << "case counts";
}

TEST(TunerPage, EscapeDoesNothingAndTheHiddenSendOnlySaves) {
  SimulatedPlatform platform;
  HostedPage<CBdacontrolDlg> page;
  page->SetDlgItemText(IDC_FREQUENCY, "12345");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  EXPECT_TRUE(page->PreTranslateMessage(&escape));
  EXPECT_FALSE(page->GetDlgItem(IDC_SEND)->isVisibleTo(page->Widget()));
  platform.Boxes().Clear();
  page->OnSend();
  EXPECT_TRUE(platform.Boxes().Texts().empty());
  EXPECT_NE(FileText(platform.SettingsPath()).find("freq=12345\n"), std::string::npos);
}

}  // namespace
