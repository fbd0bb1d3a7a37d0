// The frontend and the property set of a real card against the fake kernel:
// SEC order and pauses, tuning with its DVB-S fallback, DiSEqC bytes, input
// streams, statistics scales and retries, media information, closing.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <array>
#include <memory>

#include "platform/linuxdvb/extension_property_set.h"
#include "platform/linuxdvb/frontend.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"
#include "tests/support/instant_clock.h"

namespace linuxdvb {
namespace {

DvbsTuneParameters HighBandHorizontal() {
  return {11700000, 9750000, 10600000, 10600000, BDA_POLARISATION_LINEAR_H, 27500, BDA_SPECTRAL_INVERSION_NOT_SET};
}

DvbsTuneParameters LowBandVertical() {
  return {11362000, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_V, 22000, BDA_SPECTRAL_INVERSION_NOT_SET};
}

class FrontendTest : public testing::Test {
 protected:
  void Open(FakeFrontend model = {}, int flags = O_RDWR) {
    kernel->AddAdapter(0, std::move(model));
    calls = std::make_shared<KernelCalls>(kernel);
    const auto probes = ProbeAdapters(*calls);
    const CallResult opened = calls->Open("/dev/dvb/adapter0/frontend0", flags);
    ASSERT_TRUE(opened.Ok());
    frontend = std::make_unique<Frontend>(calls, DeviceFd(calls.get(), static_cast<int>(opened.Value())),
                                          probes[0].Label(), *probes[0].info, FrontendOptions{});
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

  ScopedInstantClock clock;
  std::shared_ptr<FakeDvbKernel> kernel = std::make_shared<FakeDvbKernel>();
  std::shared_ptr<KernelCalls> calls;
  std::unique_ptr<Frontend> frontend;
};

TEST_F(FrontendTest, TuneSetsVoltageTurnsToneOffPausesSetsTheToneThenTunesDvbs2) {
  Open();
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  const auto control = Control();
  ASSERT_EQ(control.size(), 4u);
  EXPECT_EQ(control[0], "FE_SET_VOLTAGE 18");
  EXPECT_EQ(control[1], "FE_SET_TONE off");
  EXPECT_EQ(control[2], "FE_SET_TONE on");
  EXPECT_TRUE(control[3].starts_with("FE_SET_PROPERTY 2=0 17=6 ")) << control[3];  // DTV_CLEAR, DVB-S2
  EXPECT_EQ(clock->Sleeps(), std::vector<std::uint32_t>({15}));
  EXPECT_EQ(Tuned(DTV_FREQUENCY), 1100000u);
  EXPECT_EQ(Tuned(DTV_SYMBOL_RATE), 27500000u);
  EXPECT_EQ(kernel->Tone(0), SEC_TONE_ON);

  kernel->ClearCalls();
  ASSERT_EQ(frontend->Tune(LowBandVertical()), S_OK);
  EXPECT_EQ(Control()[0], "FE_SET_VOLTAGE 13");
  EXPECT_EQ(kernel->Tone(0), SEC_TONE_OFF);
  EXPECT_EQ(Tuned(DTV_FREQUENCY), 1612000u);

  kernel->ClearCalls();
  DvbsTuneParameters nothingFits = LowBandVertical();
  nothingFits.lnbSwitchKHz = 0;
  EXPECT_EQ(frontend->Tune(nothingFits), E_INVALIDARG);
  EXPECT_TRUE(kernel->Calls().empty()) << "nothing is sent for a request that cannot be tuned";
}

TEST_F(FrontendTest, DvbsIsTriedWhenDvbs2IsRefusedLacksOrFindsNoLockInTime) {
  FakeFrontend refusing;
  refusing.refusesDvbs2 = true;
  refusing.locksWith = {SYS_DVBS};
  Open(refusing);
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  EXPECT_EQ(kernel->CallsStartingWith("FE_SET_PROPERTY").size(), 2u);
  EXPECT_EQ(Tuned(DTV_DELIVERY_SYSTEM), static_cast<std::uint32_t>(SYS_DVBS));
  SignalReading reading;
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_TRUE(reading.locked);
}

TEST_F(FrontendTest, ADvbsOnlyFrontendIsTunedAsDvbsAtOnce) {
  FakeFrontend dvbs;
  dvbs.systems = {SYS_DVBS};
  dvbs.locksWith = {SYS_DVBS};
  Open(dvbs);
  ASSERT_EQ(frontend->Tune(LowBandVertical()), S_OK);
  const auto tunes = kernel->CallsStartingWith("FE_SET_PROPERTY");
  ASSERT_EQ(tunes.size(), 1u);
  EXPECT_TRUE(tunes[0].starts_with("FE_SET_PROPERTY 2=0 17=5 ")) << tunes[0];
  EXPECT_FALSE(frontend->TakesStreamIds());
}

TEST_F(FrontendTest, ADvbsCarrierIsFoundByTheFirstReadAfterTheDvbs2AcquisitionTime) {
  FakeFrontend model;
  model.locksWith = {SYS_DVBS};
  Open(model);
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  SignalReading reading;
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_FALSE(reading.locked);
  EXPECT_EQ(Tuned(DTV_DELIVERY_SYSTEM), static_cast<std::uint32_t>(SYS_DVBS2)) << "still within the acquisition time";

  clock->SleepMs(1500);
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_EQ(Tuned(DTV_DELIVERY_SYSTEM), static_cast<std::uint32_t>(SYS_DVBS));
  EXPECT_EQ(Tuned(DTV_FREQUENCY), 1100000u);
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_TRUE(reading.locked);

  // Once per tune request: a DVB-S attempt that never locks stays.
  kernel->Frontend(0).locksWith = {};
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  clock->SleepMs(1500);
  frontend->ReadSignal(&reading);
  clock->SleepMs(5000);
  kernel->ClearCalls();
  frontend->ReadSignal(&reading);
  EXPECT_TRUE(kernel->CallsStartingWith("FE_SET_PROPERTY").empty());
}

TEST_F(FrontendTest, ALockedDvbs2CarrierIsNotRetuned) {
  Open();
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  SignalReading reading;
  clock->SleepMs(5000);
  kernel->ClearCalls();
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_TRUE(reading.locked);
  EXPECT_TRUE(kernel->CallsStartingWith("FE_SET_PROPERTY").empty());
}

TEST_F(FrontendTest, DiseqcGoesOutWithTheToneOffBetweenPausesAndPowersTheBusFirst) {
  Open();
  const std::uint8_t message[] = {0xE0, 0x31, 0x6B, 0x05};
  ASSERT_EQ(frontend->SendDiseqc(message, 4), S_OK);
  EXPECT_EQ(Control(), std::vector<std::string>({"FE_SET_VOLTAGE 13", "FE_SET_TONE off",
                                                 "FE_DISEQC_SEND_MASTER_CMD E0 31 6B 05"}));
  EXPECT_EQ(clock->Sleeps(), std::vector<std::uint32_t>({15, 15}));

  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  kernel->ClearCalls();
  const std::uint8_t sixBytes[] = {0xE0, 0x31, 0x6E, 0xE0, 0x00, 0x00};
  ASSERT_EQ(frontend->SendDiseqc(sixBytes, 6), S_OK);
  EXPECT_EQ(Control(), std::vector<std::string>({"FE_SET_VOLTAGE 18", "FE_SET_TONE off",
                                                 "FE_DISEQC_SEND_MASTER_CMD E0 31 6E E0 00 00", "FE_SET_TONE on"}))
      << "the band's tone comes back after the message";

  kernel->ClearCalls();
  const std::uint8_t ten[10] = {0xE0, 0x31, 0x6E};
  EXPECT_EQ(frontend->SendDiseqc(ten, 7), E_INVALIDARG);
  EXPECT_EQ(frontend->SendDiseqc(ten, 2), E_INVALIDARG);
  EXPECT_TRUE(kernel->Calls().empty());
}

TEST_F(FrontendTest, StreamIdsAreProbedNotTakenFromTheCapabilityFlag) {
  FakeFrontend claims;
  claims.caps |= FE_CAN_MULTISTREAM;
  claims.keepsStreamId = false;
  Open(claims);
  EXPECT_FALSE(frontend->TakesStreamIds());
  EXPECT_EQ(frontend->SelectInputStream(10), E_NOTIMPL);
}

TEST_F(FrontendTest, SelectingAnInputStreamRetunesWithIt) {
  FakeFrontend silent;  // no FE_CAN_MULTISTREAM, keeps stream ids all the same
  Open(silent);
  ASSERT_TRUE(frontend->TakesStreamIds());
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  EXPECT_EQ(Tuned(DTV_STREAM_ID), NO_STREAM_ID_FILTER);
  kernel->ClearCalls();
  ASSERT_EQ(frontend->SelectInputStream(10), S_OK);
  EXPECT_EQ(Tuned(DTV_STREAM_ID), 10u);
  EXPECT_EQ(Tuned(DTV_FREQUENCY), 1100000u);
  EXPECT_EQ(kernel->CallsStartingWith("FE_SET_PROPERTY 2=0").size(), 1u) << "one retune";
  ASSERT_EQ(frontend->Tune(LowBandVertical()), S_OK);
  EXPECT_EQ(Tuned(DTV_STREAM_ID), 10u) << "the selection holds for later tunes";
}

TEST_F(FrontendTest, StatisticsNotAvailableAreAskedForAgainAndLegacyReadsOnlyStandIn) {
  FakeFrontend model;
  model.strength = Stat(FE_SCALE_NOT_AVAILABLE, 0);
  model.cnr = Stat(FE_SCALE_NOT_AVAILABLE, 0);
  Open(model);
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  SignalReading reading;
  for (int i = 0; i < 5; ++i) {  // just after lock: nothing yet
    ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
    EXPECT_TRUE(reading.locked);
    EXPECT_EQ(reading.strength, 0);
    EXPECT_EQ(reading.quality, 0);
  }
  kernel->Frontend(0).strength = Stat(FE_SCALE_DECIBEL, -40000);
  kernel->Frontend(0).cnr = Stat(FE_SCALE_DECIBEL, 10000);
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_EQ(reading.strength, 70);
  EXPECT_EQ(reading.quality, 50);

  // A driver without DVBv5 statistics: the legacy reads, read by read.
  kernel->Frontend(0).statsFail = true;
  kernel->Frontend(0).legacyStrength = 32768;
  kernel->Frontend(0).legacySnr = 6554;
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_EQ(reading.strength, 50);
  EXPECT_EQ(reading.quality, 10);
  kernel->Frontend(0).statsFail = false;
  kernel->Frontend(0).cnr = Stat(FE_SCALE_RELATIVE, 65535);
  kernel->ClearCalls();
  ASSERT_EQ(frontend->ReadSignal(&reading), S_OK);
  EXPECT_EQ(reading.strength, 70);
  EXPECT_EQ(reading.quality, 100);
  EXPECT_TRUE(kernel->CallsStartingWith("FE_READ_SIGNAL_STRENGTH").empty()) << "no legacy read while DVBv5 answers";
  EXPECT_TRUE(kernel->CallsStartingWith("FE_READ_SNR").empty());
}

TEST_F(FrontendTest, MediaInformationIsZeroUntilLockThenDerivedFromTheTunedParameters) {
  FakeFrontend model;
  model.reported = {{DTV_MODULATION, PSK_8}, {DTV_INNER_FEC, FEC_3_5}, {DTV_ROLLOFF, ROLLOFF_20}, {DTV_PILOT, PILOT_ON},
                    {DTV_FREQUENCY, 1100250}};
  model.locksWith = {};
  Open(model);
  driver::MediaInfoReport report;
  report.standard = 7;
  ASSERT_EQ(frontend->ReadMediaInfo(&report), S_OK);
  EXPECT_EQ(report.standard, 0u);
  EXPECT_EQ(report.matype1, 0u);

  kernel->Frontend(0).locksWith = {SYS_DVBS2};
  ASSERT_EQ(frontend->Tune(HighBandHorizontal()), S_OK);
  ASSERT_EQ(frontend->ReadMediaInfo(&report), S_OK);
  EXPECT_EQ(report.standard, 1u);
  EXPECT_EQ(report.modcod, 12u);  // 8PSK 3/5
  EXPECT_EQ(report.matype1, 0xF2u);
  EXPECT_EQ(report.intermediateFrequencyKHz, 1100250);
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
  Open({}, O_RDONLY);
  testing::internal::CaptureStderr();
  EXPECT_EQ(frontend->Tune(HighBandHorizontal()), HResultFromErrno(EPERM));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("FE_SET_VOLTAGE on /dev/dvb/adapter0/frontend0: Operation not permitted (EPERM)"),
            std::string::npos) << log;
  EXPECT_NE(log.find("the frontend is open read-only"), std::string::npos) << log;
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
  FakeFrontend noIds;
  noIds.keepsStreamId = false;
  Open(noIds);
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
  Open();
  std::array<std::uint8_t, 2> pair{9, 9};
  DWORD returned = 0;
  ASSERT_EQ(properties().Get(KSPROPSETID_TunerExtension, 13, pair.data(), 2, &returned), S_OK);
  EXPECT_EQ(pair, (std::array<std::uint8_t, 2>{1, 0}));
  EXPECT_EQ(returned, 2u);
  EXPECT_EQ(SetRecord(13, {1, 0}), S_OK);
  EXPECT_LT(SetRecord(13, {0, 1}), 0) << "no generic stream";

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
