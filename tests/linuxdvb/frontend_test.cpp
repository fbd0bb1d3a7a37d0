// The frontend and the property set of a real card against the fake kernel
// running the drivers' profiles: the SEC sequence, the search for a
// carrier's parameters and its memory, DiSEqC bytes and their reasons,
// input streams, statistics per driver, media information, closing.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/com/error_info.h"
#include "platform/linuxdvb/extension_property_set.h"
#include "platform/linuxdvb/frontend.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"
#include "tests/linuxdvb/log_recorder.h"
#include "tests/support/file_contents.h"
#include "tests/support/instant_clock.h"

namespace linuxdvb {
namespace {

DvbsTuneParameters Request(LONG carrierKHz, LONG oscillatorKHz, Polarisation polarisation, LONG symbolRateKs,
                           LNBBand band) {
  DvbsTuneParameters p{carrierKHz, 9750000, 10600000, oscillatorKHz, polarisation, symbolRateKs,
                       BDA_SPECTRAL_INVERSION_NOT_SET};
  p.band = band;
  return p;
}

DvbsTuneParameters HighBandHorizontal() {
  return Request(11700000, 10600000, BDA_POLARISATION_LINEAR_H, 27500, BDA_LNB_BAND_HIGH);
}
DvbsTuneParameters LowBandVertical() {
  return Request(11362000, 9750000, BDA_POLARISATION_LINEAR_V, 22000, BDA_LNB_BAND_LOW);
}

FakeFrontend WithProfile(const DriverProfile& profile) {
  FakeFrontend model;
  model.profile = profile;
  return model;
}

class FrontendTest : public testing::Test {
 protected:
  ~FrontendTest() override { std::filesystem::remove_all(folder); }

  void Open(FakeFrontend model = {}, FakeDish dish = {}, int flags = O_RDWR) {
    frontend.reset();
    kernel->AddAdapter(0, std::move(model), {}, std::move(dish));
    calls = std::make_shared<KernelCalls>(kernel, log.Sink());
    const auto probes = ProbeAdapters(*calls);
    const CallResult opened = calls->Open("/dev/dvb/adapter0/frontend0", flags);
    ASSERT_TRUE(opened.Ok());
    FrontendOptions options;
    options.carrierMemoryPath = memoryPath;
    frontend = std::make_unique<Frontend>(calls, DeviceFd(calls.get(), static_cast<int>(opened.Value())),
                                          probes[0].Label(), *probes[0].info, options);
    kernel->ClearCalls();
    clock->ClearSleeps();
  }
  // The SEC calls and tunes the frontend made, in order.
  std::vector<std::string> Control() const {
    std::vector<std::string> lines;
    for (const std::string& call : kernel->Calls())
      if (call.starts_with("FE_SET_") || call.starts_with("FE_DISEQC")) lines.push_back(call);
    return lines;
  }
  std::uint32_t Tuned(std::uint32_t cmd) const { return kernel->Property(0, cmd); }
  // Reads the signal every 100 ms of the clock until lock or maxMs.
  SignalReading ReadUntilLocked(std::uint32_t maxMs = 60000) {
    SignalReading reading;
    for (std::uint32_t waited = 0; waited <= maxMs; waited += 100) {
      EXPECT_EQ(frontend->ReadSignal(&reading), S_OK);
      if (reading.locked) break;
      clock->SleepMs(100);
    }
    return reading;
  }

  ScopedInstantClock clock;
  LogRecorder log;
  std::shared_ptr<FakeDvbKernel> kernel = std::make_shared<FakeDvbKernel>();
  std::shared_ptr<KernelCalls> calls;
  std::unique_ptr<Frontend> frontend;
  std::string folder = (std::filesystem::temp_directory_path() /
                        ("rx40-frontend-" + std::to_string(::getpid()) + "-" +
                         testing::UnitTest::GetInstance()->current_test_info()->name()))
                           .string();
  std::string memoryPath = (std::filesystem::create_directories(folder), folder + "/tuned-carriers.txt");
};

TEST_F(FrontendTest, TuneSetsOnlyTheVoltageAndToneThatChangeThenTunes) {
  Open();
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  auto control = Control();
  ASSERT_EQ(control.size(), 3u);
  EXPECT_EQ(control[0], "FE_SET_VOLTAGE 18");
  EXPECT_EQ(control[1], "FE_SET_TONE on");
  EXPECT_TRUE(control[2].starts_with("FE_SET_PROPERTY 2=0 17=6 3=1100000 8=27500000")) << control[2];
  EXPECT_EQ(clock->Sleeps(), std::vector<std::uint32_t>({15})) << "the LNB settles on its new supply";

  kernel->ClearCalls();
  clock->ClearSleeps();
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  control = Control();
  ASSERT_EQ(control.size(), 1u) << "nothing to switch";
  EXPECT_TRUE(clock->Sleeps().empty());

  kernel->ClearCalls();
  ASSERT_EQ(frontend->Tune(LowBandVertical()), S_OK);
  EXPECT_EQ(Control().at(0), "FE_SET_VOLTAGE 13");
  EXPECT_EQ(Control().at(1), "FE_SET_TONE off");
  EXPECT_EQ(Tuned(DTV_FREQUENCY), 1612000u);

  kernel->ClearCalls();
  DvbsTuneParameters nothingFits = LowBandVertical();
  nothingFits.lnbSwitchKHz = 0;
  ClearErrorDescription();
  EXPECT_EQ(frontend->Tune(nothingFits), E_INVALIDARG);
  EXPECT_TRUE(kernel->Calls().empty()) << "nothing is sent for a request that cannot be tuned";
  EXPECT_NE(TakeErrorDescription().find("no LNB oscillator"), std::string::npos);
}

// cx24116 refuses DVB-S2 with FEC AUTO, yet the kernel answers the tune with
// 0: the first attempt never locks, and only the search finds the carrier.
TEST_F(FrontendTest, TheSearchMovesOnAfterEachAttemptsTimeAndRemembersWhatLocked) {
  FakeDish dish;
  dish.carriers = {{.downlinkMHz = 11034, .polarisation = 'H', .symbolRate = 27500000, .system = SYS_DVBS,
                    .modulation = QPSK, .fec = FEC_3_4, .rolloff = ROLLOFF_35, .pilot = PILOT_OFF}};
  Open(WithProfile(ProfileNamed("cx24116")), dish);
  const DvbsTuneParameters request = Request(11034000, 9750000, BDA_POLARISATION_LINEAR_H, 27500, BDA_LNB_BAND_LOW);
  ASSERT_EQ(frontend->Tune(request), S_OK);
  EXPECT_EQ(Tuned(DTV_DELIVERY_SYSTEM), static_cast<std::uint32_t>(SYS_DVBS2));
  SignalReading reading;
  clock->SleepMs(1400);
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_FALSE(reading.locked);
  EXPECT_EQ(Tuned(DTV_DELIVERY_SYSTEM), static_cast<std::uint32_t>(SYS_DVBS2)) << "within its 1500 ms";
  clock->SleepMs(100);
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_EQ(Tuned(DTV_DELIVERY_SYSTEM), static_cast<std::uint32_t>(SYS_DVBS)) << "the second attempt: DVB-S";
  reading = ReadUntilLocked();
  ASSERT_TRUE(reading.locked);
  EXPECT_EQ(FileText(memoryPath), "11034000 H 27500 DVB-S QPSK FEC auto roll-off 0.35\n");

  // Tuned again (here after another carrier): the remembered attempt first.
  ASSERT_EQ(frontend->Tune(LowBandVertical()), S_OK);
  kernel->ClearCalls();
  ASSERT_EQ(frontend->Tune(request), S_OK);
  EXPECT_EQ(kernel->CallsStartingWith("FE_SET_PROPERTY").size(), 1u);
  EXPECT_EQ(Tuned(DTV_DELIVERY_SYSTEM), static_cast<std::uint32_t>(SYS_DVBS));
  clock->SleepMs(1000);
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_TRUE(reading.locked);
}

TEST_F(FrontendTest, ASearchThatFindsNothingStartsOverAndALockedCarrierIsNotRetuned) {
  FakeDish empty;
  empty.carriers = {{.downlinkMHz = 12500}};  // nothing where the tune looks
  Open(WithProfile(ProfileNamed("stv090x")), empty);
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  const std::size_t attempts = PlanSearch(frontend->Info().caps, frontend->Info().systems, std::nullopt).size();
  for (std::size_t i = 0; i < attempts; ++i) {
    clock->SleepMs(AcquisitionMs(27500000));
    SignalReading reading;
    ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  }
  EXPECT_EQ(kernel->CallsStartingWith("FE_SET_PROPERTY").size(), attempts + 1) << "all of them, then the first again";

  kernel->SetDish(0, {});  // the carrier appears (the dish arrived)
  const SignalReading reading = ReadUntilLocked();
  ASSERT_TRUE(reading.locked);
  kernel->ClearCalls();
  for (int i = 0; i < 5; ++i) {
    SignalReading again;
    clock->SleepMs(2000);
    ASSERT_EQ(frontend->ReadSignal(&again), S_OK);
    EXPECT_TRUE(again.locked);
  }
  EXPECT_TRUE(kernel->CallsStartingWith("FE_SET_PROPERTY").empty());
}

// The committed switch goes out at the voltage of the polarisation it
// selects, with the tone off, and leaves the tone its band bit says; other
// messages keep the voltage and get the tone back.
TEST_F(FrontendTest, DiseqcGoesOutAtTheVoltageItNeedsWithTheToneOffBetweenPauses) {
  Open(WithProfile(ProfileNamed("stv090x")));
  const std::uint8_t highHorizontal[] = {0xE0, 0x10, 0x38, 0xF3};
  ASSERT_EQ(frontend->SendDiseqc(highHorizontal, 4), S_OK);
  EXPECT_EQ(Control(), std::vector<std::string>({"FE_SET_VOLTAGE 18", "FE_SET_TONE off",
                                                 "FE_DISEQC_SEND_MASTER_CMD E0 10 38 F3", "FE_SET_TONE on"}));
  EXPECT_EQ(kernel->Bus(0), std::vector<std::string>({"bus E0 10 38 F3 at 18 V tone off"}));
  EXPECT_EQ(clock->Sleeps(), std::vector<std::uint32_t>({15, 15}));

  // The tune that follows finds the supply as it needs it.
  kernel->ClearCalls();
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  EXPECT_EQ(Control().size(), 1u);

  kernel->ClearCalls();
  const std::uint8_t motor[] = {0xE0, 0x31, 0x6E, 0xE0, 0x00, 0x00};
  ASSERT_EQ(frontend->SendDiseqc(motor, 6), S_OK);
  EXPECT_EQ(Control(), std::vector<std::string>({"FE_SET_TONE off", "FE_DISEQC_SEND_MASTER_CMD E0 31 6E E0 00 00",
                                                 "FE_SET_TONE on"}));

  kernel->ClearCalls();
  const std::uint8_t seven[7] = {0xE0, 0x31, 0x6E};
  for (const std::size_t length : {std::size_t{7}, std::size_t{2}}) {
    ClearErrorDescription();
    EXPECT_EQ(frontend->SendDiseqc(seven, length), E_INVALIDARG);
    EXPECT_NE(TakeErrorDescription().find("the kernel carries 3 to 6 bytes"), std::string::npos);
  }
  EXPECT_TRUE(kernel->Calls().empty());
}

TEST_F(FrontendTest, ATuneWithABurstSendsItBetweenTheMessagePausesBeforeTheTone) {
  Open(WithProfile(ProfileNamed("stv090x")));
  DvbsTuneParameters request = HighBandHorizontal();
  request.burst = BDA_TONE_BURST_B;
  ASSERT_EQ(frontend->Tune(request), S_OK);
  const auto control = Control();
  ASSERT_GE(control.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(control.begin(), control.begin() + 4),
            std::vector<std::string>({"FE_SET_VOLTAGE 18", "FE_SET_TONE off", "FE_DISEQC_SEND_BURST B", "FE_SET_TONE on"}));
  EXPECT_EQ(kernel->Bus(0), std::vector<std::string>({"bus burst B at 18 V"}));

  // A driver without the operation: the tune fails and says why.
  Open(WithProfile(ProfileNamed("mxl5xx")));
  ClearErrorDescription();
  EXPECT_LT(frontend->Tune(request), 0);
  EXPECT_NE(TakeErrorDescription().find("FE_DISEQC_SEND_BURST"), std::string::npos);
}

// A frontend without LNB power control (the core answers ENOTSUPP, 524):
// tuned all the same, said once.
TEST_F(FrontendTest, AFrontendWithoutLnbPowerControlIsTunedAllTheSame) {
  DriverProfile profile = ProfileNamed("m88ds3103");
  profile.setVoltage = false;
  FakeDish dish;
  dish.externalSupply = SEC_VOLTAGE_18;
  Open(WithProfile(profile), dish);
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  EXPECT_EQ(kernel->CallsStartingWith("FE_SET_VOLTAGE").size(), 1u) << "asked once";
  EXPECT_TRUE(log.Has("adapter 0 (")) << "the adapter named: " << log.Text();
  EXPECT_TRUE(log.Has("not under this program's control")) << log.Text();
  EXPECT_TRUE(log.Has("errno 524, ENOTSUPP")) << log.Text();
  EXPECT_FALSE(frontend->ControlsLnbVoltage());
  EXPECT_TRUE(ReadUntilLocked().locked);
}

// The core stores and hands back any stream id on every frontend, so only
// FE_CAN_MULTISTREAM tells; and the media information never turns the id
// written into "multiple input streams".
TEST_F(FrontendTest, InputStreamsFollowTheCapabilityFlagAndAreNeverReportedFromTheIdWritten) {
  Open();  // no FE_CAN_MULTISTREAM, and the core keeps stream ids all the same
  EXPECT_FALSE(frontend->TakesStreamIds());
  ClearErrorDescription();
  EXPECT_EQ(frontend->SelectInputStream(10), E_NOTIMPL);
  EXPECT_NE(TakeErrorDescription().find("FE_CAN_MULTISTREAM"), std::string::npos);

  Open(WithProfile(ProfileNamed("stv090x")));
  ASSERT_TRUE(frontend->TakesStreamIds());
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  ASSERT_TRUE(ReadUntilLocked().locked);
  EXPECT_EQ(Tuned(DTV_STREAM_ID), NO_STREAM_ID_FILTER);
  kernel->ClearCalls();
  ASSERT_EQ(frontend->SelectInputStream(10), S_OK);
  EXPECT_EQ(Tuned(DTV_STREAM_ID), 10u);
  EXPECT_EQ(kernel->CallsStartingWith("FE_SET_PROPERTY 2=0").size(), 1u) << "one retune";
  ASSERT_TRUE(ReadUntilLocked().locked);
  driver::MediaInfoReport report;
  ASSERT_EQ(frontend->ReadMediaInfo(&report), S_OK);
  EXPECT_EQ(report.singleInputStream, 1u);
  EXPECT_EQ(report.inputStreamId, 0);
  EXPECT_EQ(report.matype2, 0u);
  ASSERT_EQ(frontend->Tune(LowBandVertical()), S_OK);
  EXPECT_EQ(Tuned(DTV_STREAM_ID), 10u) << "the selection holds for later tunes";
}

TEST_F(FrontendTest, StatisticsComeInEachDriversScaleAndQualityFollowsTheMargin) {
  // m88ds3103: DVBv5 C/N in dB and bit counters, no strength at all.
  FakeDish dish;
  dish.carriers = {{.downlinkMHz = 11700, .polarisation = 'H', .symbolRate = 27500000, .cnrDb = 12.0}};
  Open(WithProfile(ProfileNamed("m88ds3103")), dish);
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  SignalReading reading = ReadUntilLocked();
  ASSERT_TRUE(reading.locked);
  ASSERT_TRUE(reading.cnrDb);
  EXPECT_DOUBLE_EQ(*reading.cnrDb, 12.0);
  ASSERT_TRUE(reading.marginDb) << "8PSK 2/3 needs 6.62 dB";
  EXPECT_NEAR(*reading.marginDb, 5.38, 1e-9);
  EXPECT_EQ(reading.quality, 84);
  EXPECT_EQ(reading.strength, 0);
  EXPECT_EQ(reading.bitErrors, 0u);
  EXPECT_TRUE(reading.bitsCounted);
  kernel->ClearCalls();
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_TRUE(kernel->CallsStartingWith("FE_READ_SIGNAL_STRENGTH").empty()) << "ENOTSUPP once is enough";

  // cx24116: the legacy reads only, relative.
  Open(WithProfile(ProfileNamed("cx24116")), dish);
  DvbsTuneParameters request = HighBandHorizontal();
  ASSERT_EQ(frontend->Tune(request), S_OK);
  reading = ReadUntilLocked(200000);
  ASSERT_TRUE(reading.locked);
  EXPECT_EQ(reading.strength, 55);  // -45 dBm
  EXPECT_EQ(reading.quality, 75);   // 12 dB of the driver's 16 dB scale
  EXPECT_FALSE(reading.cnrDb);
  EXPECT_FALSE(reading.marginDb);
  EXPECT_EQ(reading.bitErrors, 0u);
  EXPECT_FALSE(reading.bitsCounted);

  const StatisticsSupport support = frontend->ProbeStatistics();
  EXPECT_EQ(support.strength, "legacy");
  EXPECT_EQ(support.cnr, "legacy");
  Open(WithProfile(ProfileNamed("mxl5xx")));
  const StatisticsSupport v5 = frontend->ProbeStatistics();
  EXPECT_EQ(v5.strength, "after lock");
  EXPECT_EQ(v5.cnr, "after lock");
  EXPECT_EQ(v5.blockErrors, "none");
}

TEST_F(FrontendTest, MediaInformationIsZeroUntilLockThenWhatTheDriverReports) {
  FakeDish dish;
  dish.carriers = {{.downlinkMHz = 11700, .polarisation = 'H', .symbolRate = 27500000, .modulation = PSK_8,
                    .fec = FEC_3_5, .rolloff = ROLLOFF_20, .pilot = PILOT_ON}};
  Open(WithProfile(ProfileNamed("m88ds3103")), dish);
  driver::MediaInfoReport report;
  report.standard = 7;
  ASSERT_EQ(frontend->ReadMediaInfo(&report), S_OK);
  EXPECT_EQ(report.standard, 0u);
  EXPECT_EQ(report.matype1, 0u);

  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  ASSERT_TRUE(ReadUntilLocked().locked);
  ASSERT_EQ(frontend->ReadMediaInfo(&report), S_OK);
  EXPECT_EQ(report.standard, 1u);
  EXPECT_EQ(report.modcod, 12u);  // 8PSK 3/5, as the demodulator found it
  EXPECT_EQ(report.matype1, 0xF2u);
  EXPECT_EQ(report.intermediateFrequencyKHz, 1100000);
  EXPECT_EQ(report.symbolRateBd, 27500000);
  EXPECT_EQ(report.pilots, 1u);
}

TEST_F(FrontendTest, ClosingTurnsTheToneAndTheLnbVoltageOff) {
  Open();
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  kernel->ClearCalls();
  frontend->Close();
  EXPECT_EQ(Control(), std::vector<std::string>({"FE_SET_TONE off", "FE_SET_VOLTAGE off"}));
  EXPECT_EQ(kernel->OpenCount(), 0);
  EXPECT_LT(frontend->Tune(HighBandHorizontal()), 0);
  SignalReading reading;
  EXPECT_LT(frontend->ReadSignal(&reading), 0);
  frontend->Close();  // again: nothing more
  EXPECT_EQ(Control().size(), 2u);
}

TEST_F(FrontendTest, AReadOnlyFrontendIsReportedAsSuch) {
  Open({}, {}, O_RDONLY);
  EXPECT_EQ(frontend->Tune(HighBandHorizontal()), HResultFromErrno(EPERM));
  EXPECT_TRUE(log.Has("FE_SET_VOLTAGE on /dev/dvb/adapter0/frontend0: Operation not permitted (EPERM)")) << log.Text();
  EXPECT_TRUE(log.Has("the frontend is open read-only")) << log.Text();
}

// The property set's records, as the program exchanges them.
class PropertySetTest : public FrontendTest {
 protected:
  HRESULT SetRecord(DWORD id, std::vector<std::uint8_t> record) {
    return properties().Set(KSPROPSETID_TunerExtension, id, record.data(), static_cast<DWORD>(record.size()));
  }
  ExtensionPropertySet properties() { return ExtensionPropertySet(frontend.get()); }
};

std::vector<std::uint8_t> DiseqcRecord(std::vector<std::uint8_t> bytes) {
  std::vector<std::uint8_t> record(11, 0);
  std::copy(bytes.begin(), bytes.end(), record.begin());
  record[10] = static_cast<std::uint8_t>(bytes.size());
  return record;
}

TEST_F(PropertySetTest, SupportQueriesFollowTheFrontend) {
  Open();  // no FE_CAN_MULTISTREAM
  DWORD support = 0;
  const GUID other{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(properties().QuerySupported(KSPROPSETID_TunerExtension, 0, &support), S_OK);
  EXPECT_EQ(support, driver::kSupportSet);
  EXPECT_EQ(properties().QuerySupported(KSPROPSETID_TunerExtension, 13, &support), S_OK);
  EXPECT_EQ(support, driver::kSupportGet | driver::kSupportSet);
  EXPECT_EQ(properties().QuerySupported(KSPROPSETID_TunerExtension, 14, &support), driver::E_PROP_ID_UNSUPPORTED);
  EXPECT_EQ(properties().QuerySupported(KSPROPSETID_TunerExtension, 5, &support), driver::E_PROP_ID_UNSUPPORTED);
  EXPECT_EQ(properties().QuerySupported(other, 0, &support), driver::E_PROP_SET_UNSUPPORTED);
}

TEST_F(PropertySetTest, OnlyATransportStreamAndDiseqcMessagesTheKernelCarries) {
  Open(WithProfile(ProfileNamed("stv090x")));
  std::array<std::uint8_t, 2> pair{9, 9};
  DWORD returned = 0;
  ASSERT_EQ(properties().Get(KSPROPSETID_TunerExtension, 13, pair.data(), 2, &returned), S_OK);
  EXPECT_EQ(pair, (std::array<std::uint8_t, 2>{1, 0}));
  EXPECT_EQ(returned, 2u);
  EXPECT_EQ(SetRecord(13, {1, 0}), S_OK);
  EXPECT_LT(SetRecord(13, {0, 1}), 0) << "no generic stream";
  EXPECT_TRUE(log.Has(": only a transport stream can be delivered; the request for a generic stream is refused"))
      << log.Text();

  ASSERT_EQ(SetRecord(0, DiseqcRecord({0xE0, 0x10, 0x38, 0xF3})), S_OK);
  EXPECT_EQ(kernel->CallsStartingWith("FE_DISEQC").back(), "FE_DISEQC_SEND_MASTER_CMD E0 10 38 F3");
  EXPECT_LT(SetRecord(0, DiseqcRecord({0xE0, 0x31, 0x6B, 0x01, 0x02, 0x03, 0x04})), 0) << "7 bytes";
  EXPECT_LT(SetRecord(0, DiseqcRecord({0xE0, 0x31})), 0) << "2 bytes";
  EXPECT_EQ(kernel->CallsStartingWith("FE_DISEQC").size(), 1u);

  std::vector<std::uint8_t> select(72, 0);
  select[48] = 0x2C;
  select[49] = 0x01;  // 300: not one byte
  EXPECT_EQ(SetRecord(14, select), E_INVALIDARG);
  select[49] = 0;
  EXPECT_EQ(SetRecord(14, select), S_OK);

  std::vector<std::uint8_t> info(72, 0xAA);
  ASSERT_EQ(properties().Get(KSPROPSETID_TunerExtension, 12, info.data(), 72, &returned), S_OK);
  const driver::MediaInfoReport report = driver::DecodeMediaInfo(info.data());
  EXPECT_EQ(report.standard, 0u) << "nothing tuned, nothing locked: all zero";
  EXPECT_EQ(report.matype1, 0u);
  EXPECT_EQ(properties().Get(KSPROPSETID_TunerExtension, 12, info.data(), 71, &returned), driver::E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(returned, 72u);
}

}  // namespace
}  // namespace linuxdvb
