#include "platform/sim/driver/tuner_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "platform/sim/driver/bit_rate.h"
#include "platform/sim/driver/extension_properties.h"
#include "platform/sim/sky/media_info.h"
#include "tests/sim/driver_test_support.h"
#include "tests/support/instant_clock.h"

namespace sim {
namespace {

using namespace sim::testing;

constexpr auto H = BDA_POLARISATION_LINEAR_H;
constexpr auto V = BDA_POLARISATION_LINEAR_V;

// Carriers of the built-in sky, as the tuning page would request them.
const DvbsTuneParameters kS2Carrier = TuneMHz(11362, 9750, 10600, 9750, H, 22000);   // 8PSK 2/3, Sat 23.5E
const DvbsTuneParameters kDvbsCarrier = TuneMHz(11597, 9750, 10600, 10600, V, 22000);  // QPSK 5/6, Sat 23.5E
const DvbsTuneParameters kMisCarrier = TuneMHz(12168, 9750, 10600, 10600, H, 27500);   // ISI 1, 2, 10
const DvbsTuneParameters kGenericCarrier = TuneMHz(11785, 9750, 10600, 10600, V, 30000);  // GS, Sat 16.0E

HRESULT SetRecord(TunerDriver& driver, DWORD id, std::vector<uint8_t> record) {
  return driver.Set(KSPROPSETID_TunerExtension, id, record.data(), static_cast<DWORD>(record.size()));
}

std::vector<uint8_t> GetRecord(TunerDriver& driver, DWORD id, size_t size) {
  std::vector<uint8_t> record(size, 0xAA);
  DWORD returned = 0;
  EXPECT_EQ(driver.Get(KSPROPSETID_TunerExtension, id, record.data(), static_cast<DWORD>(size), &returned), S_OK);
  EXPECT_EQ(returned, size);
  return record;
}

class TunerDriverTest : public ::testing::Test {
 protected:
  HRESULT SetRecord(DWORD id, std::vector<uint8_t> record) { return sim::SetRecord(driver, id, std::move(record)); }
  std::vector<uint8_t> GetRecord(DWORD id, size_t size) { return sim::GetRecord(driver, id, size); }
  MediaInfoReport MediaInfo() { return DecodeMediaInfo(GetRecord(kPropertyMediaInfo, kMediaInfoSize).data()); }
  SignalStatistics Signal() {
    SignalStatistics s;
    EXPECT_EQ(driver.ReadSignal(&s), S_OK);
    return s;
  }
  void TuneAndAcquire(const DvbsTuneParameters& tune) {
    ASSERT_EQ(driver.SubmitTune(tune), S_OK);
    clock->SleepMs(kAcquisitionTimeMs);
  }

  ScopedInstantClock clock;
  TunerDriver driver{DefaultSky(), {}};
};

TEST_F(TunerDriverTest, RecordsCarryTheirExactBytes) {
  DWORD support = 0;
  for (auto [id, flags] : {std::pair<DWORD, DWORD>{0, 2}, {12, 1}, {13, 3}, {14, 2}}) {
    EXPECT_EQ(driver.QuerySupported(KSPROPSETID_TunerExtension, id, &support), S_OK) << id;
    EXPECT_EQ(support, flags) << id;
  }

  // Transport stream at power-up; the pair reads back as written.
  EXPECT_EQ(GetRecord(kPropertyStreamType, 2), (std::vector<uint8_t>{1, 0}));
  EXPECT_EQ(SetRecord(kPropertyStreamType, {0, 1}), S_OK);
  EXPECT_EQ(GetRecord(kPropertyStreamType, 2), (std::vector<uint8_t>{0, 1}));
  EXPECT_EQ(SetRecord(kPropertyStreamType, {1, 0}), S_OK);

  // Nothing locked: an all-zero record.
  EXPECT_EQ(GetRecord(kPropertyMediaInfo, 72), std::vector<uint8_t>(72, 0));

  TuneAndAcquire(kS2Carrier);
  // IF 1612 MHz, 22 MBd, DVB-S2, MODCOD 13 (8PSK 2/3), no DVB-S rate, 8PSK, TS,
  // single stream, CCM, no ISSY, no NPD, roll-off 0.20, ISI 0, MATYPE F2 00,
  // no inversion, pilots, long frame.
  EXPECT_EQ(GetRecord(kPropertyMediaInfo, 72),
            Words({1612000, 22000000, 1, 13, 8, 1, 3, 1, 1, 0, 0, 2, 0, 0xF2, 0, 0, 1, 0}));
}

TEST_F(TunerDriverTest, MalformedCallsFailWithoutTouchingState) {
  const auto& set = KSPROPSETID_TunerExtension;
  DWORD support = 0;
  std::vector<uint8_t> buffer(80, 0xAA);
  DWORD returned = 0;
  const struct {
    const char* what;
    std::function<HRESULT()> call;
    HRESULT expected;
  } cases[] = {
      {"another set", [&] { return driver.QuerySupported(GUID_NULL, 13, &support); }, E_PROP_SET_UNSUPPORTED},
      {"another set, get", [&] { return driver.Get(GUID_NULL, 13, buffer.data(), 2, &returned); },
       E_PROP_SET_UNSUPPORTED},
      {"unknown id", [&] { return driver.QuerySupported(set, 7, &support); }, E_PROP_ID_UNSUPPORTED},
      {"unknown id, set", [&] { return driver.Set(set, 15, buffer.data(), 72); }, E_PROP_ID_UNSUPPORTED},
      {"reading a write-only property", [&] { return driver.Get(set, 0, buffer.data(), 11, &returned); }, E_NOTIMPL},
      {"writing a read-only property", [&] { return driver.Set(set, 12, buffer.data(), 72); }, E_NOTIMPL},
      {"no support flags", [&] { return driver.QuerySupported(set, 0, nullptr); }, E_POINTER},
      {"no record", [&] { return driver.Set(set, 0, nullptr, 11); }, E_POINTER},
      {"short media info", [&] { return driver.Get(set, 12, buffer.data(), 71, &returned); }, E_INSUFFICIENT_BUFFER},
      {"short DiSEqC record", [&] { return SetRecord(0, std::vector<uint8_t>(10, 0xE0)); }, E_INSUFFICIENT_BUFFER},
      {"short selection", [&] { return SetRecord(14, std::vector<uint8_t>(48, 0)); }, E_INSUFFICIENT_BUFFER},
      {"DiSEqC length 0", [&] { return SetRecord(0, {0xE0, 0x10, 0x38, 0xF0, 0, 0, 0, 0, 0, 0, 0}); }, E_INVALIDARG},
      {"DiSEqC length 11", [&] { return SetRecord(0, {0xE0, 0x10, 0x38, 0xF3, 0, 0, 0, 0, 0, 0, 11}); }, E_INVALIDARG},
      {"DiSEqC length 255", [&] { return SetRecord(0, {0xE0, 0x10, 0x38, 0xF3, 0, 0, 0, 0, 0, 0, 255}); },
       E_INVALIDARG},
      {"both stream types", [&] { return SetRecord(13, {1, 1}); }, E_INVALIDARG},
      {"no stream type", [&] { return SetRecord(13, {0, 0}); }, E_INVALIDARG},
      {"negative ISI", [&] { return SetRecord(14, SelectStreamRecord(-1)); }, E_INVALIDARG},
      {"ISI beyond a byte", [&] { return SetRecord(14, SelectStreamRecord(256)); }, E_INVALIDARG},
  };
  for (const auto& c : cases) EXPECT_EQ(c.call(), c.expected) << c.what;

  // The short read reported the size it needs and wrote nothing.
  EXPECT_EQ(driver.Get(set, 12, buffer.data(), 71, &returned), E_INSUFFICIENT_BUFFER);
  EXPECT_EQ(returned, 72u);
  EXPECT_EQ(buffer, std::vector<uint8_t>(80, 0xAA));
  EXPECT_TRUE(driver.DiseqcBusLog().empty());
  EXPECT_EQ(GetRecord(kPropertyStreamType, 2), (std::vector<uint8_t>{1, 0}));
}

TEST(TunerDriverFaults, InjectedPerPropertyAndDirection) {
  ScopedInstantClock clock;
  const auto& set = KSPROPSETID_TunerExtension;
  using Call = std::function<HRESULT(TunerDriver&)>;
  using Effect = std::function<bool(TunerDriver&)>;
  const Call send = [](TunerDriver& d) { return SetRecord(d, 0, DiseqcRecord({0xE0, 0x31, 0x60})); };
  const Effect onBus = [](TunerDriver& d) { return !d.DiseqcBusLog().empty(); };
  const Call toGeneric = [](TunerDriver& d) { return SetRecord(d, 13, {0, 1}); };
  const Effect generic = [](TunerDriver& d) { return GetRecord(d, 13, 2)[1] == 1; };
  const Call select10 = [](TunerDriver& d) { return SetRecord(d, 14, SelectStreamRecord(10)); };
  const Effect selected = [](TunerDriver& d) { return d.DescribeStream().inputStreamId == 10; };
  std::vector<uint8_t> read(72, 0);
  const Call readInfo = [&](TunerDriver& d) { return d.Get(set, 12, read.data(), 72, nullptr); };
  const Call readPair = [&](TunerDriver& d) { return d.Get(set, 13, read.data(), 2, nullptr); };
  const Effect infoFilled = [&](TunerDriver&) { return read[8] == 1; };  // DVB-S2
  const Effect pairFilled = [&](TunerDriver&) { return read[0] == 1; };  // transport stream

  const PropertyFaults unsupported{true};
  const PropertyFaults setNegative{false, CallOutcome::Normal, CallOutcome::Negative};
  const PropertyFaults setPositive{false, CallOutcome::Normal, CallOutcome::Positive};
  const PropertyFaults getNegative{false, CallOutcome::Negative, CallOutcome::Normal};
  const PropertyFaults getPositive{false, CallOutcome::Positive, CallOutcome::Normal};
  const struct {
    const char* what;
    DWORD id;
    PropertyFaults faults;
    Call call;
    Effect tookEffect;
    HRESULT query, result;
    bool effect;
  } cases[] = {
      {"0 unsupported", 0, unsupported, send, onBus, E_PROP_ID_UNSUPPORTED, E_PROP_ID_UNSUPPORTED, false},
      {"0 negative", 0, setNegative, send, onBus, S_OK, E_FAIL, false},
      {"0 positive", 0, setPositive, send, onBus, S_OK, S_FALSE, true},
      {"12 unsupported", 12, unsupported, readInfo, infoFilled, E_PROP_ID_UNSUPPORTED, E_PROP_ID_UNSUPPORTED, false},
      {"12 negative", 12, getNegative, readInfo, infoFilled, S_OK, E_FAIL, false},
      {"12 positive", 12, getPositive, readInfo, infoFilled, S_OK, S_FALSE, true},
      {"13 get negative", 13, getNegative, readPair, pairFilled, S_OK, E_FAIL, false},
      {"13 get positive", 13, getPositive, readPair, pairFilled, S_OK, S_FALSE, true},
      {"13 set negative", 13, setNegative, toGeneric, generic, S_OK, E_FAIL, false},
      {"13 set positive", 13, setPositive, toGeneric, generic, S_OK, S_FALSE, true},
      {"14 unsupported", 14, unsupported, select10, selected, E_PROP_ID_UNSUPPORTED, E_PROP_ID_UNSUPPORTED, false},
      {"14 negative", 14, setNegative, select10, selected, S_OK, E_FAIL, false},
      {"14 positive", 14, setPositive, select10, selected, S_OK, S_FALSE, true},
  };
  for (const auto& c : cases) {
    TunerDriver driver(DefaultSky(), {});
    ASSERT_EQ(driver.SubmitTune(kMisCarrier), S_OK);
    clock->SleepMs(kAcquisitionTimeMs);
    std::fill(read.begin(), read.end(), 0);
    DriverFaults faults;
    faults.properties[c.id] = c.faults;
    driver.SetFaults(faults);
    DWORD support = 0;
    EXPECT_EQ(driver.QuerySupported(set, c.id, &support), c.query) << c.what;
    EXPECT_EQ(c.call(driver), c.result) << c.what;
    driver.SetFaults({});
    clock->SleepMs(kAcquisitionTimeMs);
    EXPECT_EQ(c.tookEffect(driver), c.effect) << c.what;
  }

  DriverFaults refuse;
  refuse.tune = CallOutcome::Negative;
  refuse.statistics = CallOutcome::Negative;
  TunerDriver refusing(DefaultSky(), refuse);
  EXPECT_EQ(refusing.SubmitTune(kS2Carrier), E_FAIL);
  SignalStatistics statistics;
  EXPECT_EQ(refusing.ReadSignal(&statistics), E_FAIL);
  refusing.SetFaults({});
  clock->SleepMs(kAcquisitionTimeMs);
  EXPECT_FALSE(refusing.DescribeStream().locked);  // the refused tune changed nothing
}

TEST_F(TunerDriverTest, SwitchMessageAndTuneRequestCombineAsOnHardware) {
  // 11597 MHz with 9750/10600: the band decision says low band (below 11700)
  // while the request's LNB switch names the high oscillator, which brings
  // it nearer the middle of the IF range. The request comes last and wins:
  // tone on, IF 997 MHz, the LNB's 10600 gives 11597 back.
  const auto lowBandVertical = DiseqcRecord({0xE0, 0x10, 0x38, 0xF0});
  ASSERT_EQ(SetRecord(0, lowBandVertical), S_OK);
  EXPECT_FALSE(driver.LnbSupply().toneOn);
  TuneAndAcquire(kDvbsCarrier);
  EXPECT_TRUE(driver.LnbSupply().toneOn);
  EXPECT_EQ(driver.LnbSupply().polarisation, Polarisation::Vertical);
  EXPECT_TRUE(Signal().locked);
  EXPECT_EQ(MediaInfo().intermediateFrequencyKHz, 997000);

  // The same message sent after the tune (a hand-typed one) turns the tone
  // off: the LNB's 9750 puts 10747 MHz at that IF, where nothing is.
  ASSERT_EQ(SetRecord(0, lowBandVertical), S_OK);
  clock->SleepMs(kAcquisitionTimeMs);
  EXPECT_FALSE(driver.LnbSupply().toneOn);
  EXPECT_FALSE(Signal().locked);

  // The tune again, then a switch message for horizontal: the other polarisation is empty.
  TuneAndAcquire(kDvbsCarrier);
  ASSERT_TRUE(Signal().locked);
  ASSERT_EQ(SetRecord(0, DiseqcRecord({0xE0, 0x10, 0x38, 0xF3})), S_OK);
  clock->SleepMs(kAcquisitionTimeMs);
  EXPECT_EQ(driver.LnbSupply().polarisation, Polarisation::Horizontal);
  EXPECT_FALSE(Signal().locked);

  // A port change alone leaves tone and voltage: the single dish still receives.
  TuneAndAcquire(kDvbsCarrier);
  ASSERT_EQ(SetRecord(0, DiseqcRecord({0xE0, 0x10, 0x38, 0xC4})), S_OK);  // port B only
  clock->SleepMs(kAcquisitionTimeMs);
  EXPECT_EQ(driver.LnbSupply().port, 2);
  EXPECT_TRUE(Signal().locked);
}

TEST_F(TunerDriverTest, LockComesAfterTheAcquisitionTime) {
  ASSERT_EQ(driver.SubmitTune(kS2Carrier), S_OK);
  SignalStatistics s = Signal();
  EXPECT_FALSE(s.locked);
  EXPECT_GT(s.strength, 0);  // the carrier's power is there at once
  EXPECT_EQ(s.quality, 0);
  EXPECT_EQ(GetRecord(kPropertyMediaInfo, 72), std::vector<uint8_t>(72, 0));
  clock->SleepMs(kAcquisitionTimeMs - 1);
  EXPECT_FALSE(Signal().locked);
  EXPECT_FALSE(driver.DescribeStream().locked);
  clock->SleepMs(1);
  s = Signal();
  EXPECT_TRUE(s.locked);
  EXPECT_GT(s.quality, 0);
  EXPECT_TRUE(driver.DescribeStream().locked);

  // A retune starts over, even to the same carrier.
  ASSERT_EQ(driver.SubmitTune(kS2Carrier), S_OK);
  EXPECT_FALSE(Signal().locked);
}

TEST_F(TunerDriverTest, TuneRequestsAreCheckedButFindingNothingIsNoError) {
  const auto with = [](auto change) {
    DvbsTuneParameters p = kS2Carrier;
    change(p);
    return p;
  };
  const DvbsTuneParameters malformed[] = {
      with([](auto& p) { p.carrierFrequencyKHz = 0; }),
      with([](auto& p) { p.symbolRate = 0; }),
      with([](auto& p) { p.symbolRate = -27500; }),
      with([](auto& p) { p.lowOscillatorKHz = -1; }),
      with([](auto& p) { p.polarisation = BDA_POLARISATION_NOT_SET; }),
  };
  for (const auto& p : malformed) EXPECT_EQ(driver.SubmitTune(p), E_INVALIDARG) << p.carrierFrequencyKHz;

  // No oscillator brings 10000 MHz into the tuner's range: accepted, never locks.
  TuneAndAcquire(TuneMHz(10000, 9750, 10600, 0, V, 22000));
  EXPECT_FALSE(Signal().locked);
  EXPECT_EQ(Signal().strength, 0);
  // Circular left drives 18 V like horizontal.
  TuneAndAcquire(with([](auto& p) { p.polarisation = BDA_POLARISATION_CIRCULAR_L; }));
  EXPECT_TRUE(Signal().locked);
}

TEST_F(TunerDriverTest, InputStreamSelectionRetunesToTheChosenStream) {
  TuneAndAcquire(kMisCarrier);
  MediaInfoReport info = MediaInfo();
  EXPECT_EQ(info.singleInputStream, 0u);
  EXPECT_EQ(info.inputStreamId, 1);  // no selection yet: the first stream
  EXPECT_EQ(info.matype2, 1u);

  ASSERT_EQ(SetRecord(kPropertyInputStreamId, SelectStreamRecord(10)), S_OK);
  EXPECT_FALSE(Signal().locked);  // reacquiring
  clock->SleepMs(kAcquisitionTimeMs);
  info = MediaInfo();
  EXPECT_EQ(info.inputStreamId, 10);
  EXPECT_EQ(info.matype2, 10u);
  const StreamDescription stream = driver.DescribeStream();
  EXPECT_EQ(stream.inputStreamId, 10);
  const Sky sky = DefaultSky();  // a reference into a temporary sky would dangle
  const Transponder& carrier = sky.satellites[0].transponders[stream.transponderIndex];
  EXPECT_EQ(stream.bitRate, UsefulBitRate(carrier) / 3);  // three streams share the carrier

  // The selection holds across the retune that follows it.
  TuneAndAcquire(kMisCarrier);
  EXPECT_EQ(MediaInfo().inputStreamId, 10);
  // A stream the carrier lacks: the demodulator falls back to the first.
  ASSERT_EQ(SetRecord(kPropertyInputStreamId, SelectStreamRecord(5)), S_OK);
  clock->SleepMs(kAcquisitionTimeMs);
  EXPECT_EQ(MediaInfo().inputStreamId, 1);
}

TEST_F(TunerDriverTest, UntilAStreamIsSelectedTheReportsGoRoundTheCarriersStreams) {
  TuneAndAcquire(kMisCarrier);
  std::vector<int> reported;
  for (int i = 0; i < 4; ++i) reported.push_back(MediaInfo().inputStreamId);
  EXPECT_EQ(reported, (std::vector<int>{1, 2, 10, 1}));
  EXPECT_EQ(driver.DescribeStream().inputStreamId, 1) << "the first stream is the one delivered";

  TuneAndAcquire(kMisCarrier);
  EXPECT_EQ(MediaInfo().inputStreamId, 1) << "every tune starts again from the first";
  ASSERT_EQ(SetRecord(kPropertyInputStreamId, SelectStreamRecord(2)), S_OK);
  clock->SleepMs(kAcquisitionTimeMs);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(MediaInfo().inputStreamId, 2);
}

TEST_F(TunerDriverTest, TheLinkMarginIsKnownOnceTheCarrierIsAcquired) {
  EXPECT_FALSE(Signal().marginDb) << "nothing tuned";
  ASSERT_EQ(driver.SubmitTune(kS2Carrier), S_OK);
  EXPECT_FALSE(Signal().marginDb) << "still acquiring";
  clock->SleepMs(kAcquisitionTimeMs);
  ASSERT_TRUE(Signal().marginDb);
  EXPECT_NEAR(*Signal().marginDb, 18.0 - 6.62, 1e-9) << "8PSK 2/3 needs 6.62 dB";
  // Two degrees off: 12 dB pointing loss, short of the threshold.
  driver.SetPointingError(2.0);
  EXPECT_FALSE(Signal().locked);
  ASSERT_TRUE(Signal().marginDb);
  EXPECT_NEAR(*Signal().marginDb, 6.0 - 6.62, 1e-9);
}

TEST_F(TunerDriverTest, OutputFormatDecidesWhatIsDelivered) {
  const struct {
    const char* what;
    size_t satellite;
    DvbsTuneParameters tune;
    Delivery asTransport, asGeneric;
  } cases[] = {
      {"DVB-S2 transport stream", 0, kS2Carrier, Delivery::TransportStream, Delivery::GenericStream},
      {"DVB-S2 generic stream", 1, kGenericCarrier, Delivery::None, Delivery::GenericStream},
      {"DVB-S", 0, kDvbsCarrier, Delivery::TransportStream, Delivery::None},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(driver.PointAt(c.satellite));
    ASSERT_EQ(SetRecord(13, {1, 0}), S_OK);
    TuneAndAcquire(c.tune);
    const uint32_t matype1 = MediaInfo().matype1;
    const StreamDescription asTransport = driver.DescribeStream();
    ASSERT_EQ(SetRecord(13, {0, 1}), S_OK);
    const StreamDescription asGeneric = driver.DescribeStream();

    EXPECT_EQ(asTransport.delivery, c.asTransport) << c.what;
    EXPECT_EQ(asGeneric.delivery, c.asGeneric) << c.what;
    EXPECT_EQ(asGeneric.output, OutputFormat::GenericStream) << c.what;
    EXPECT_TRUE(asGeneric.locked) << c.what;  // the output format does not touch the demodulator
    EXPECT_EQ(asTransport.bitRate > 0, c.asTransport != Delivery::None) << c.what;
    EXPECT_EQ(asGeneric.bitRate > 0, c.asGeneric != Delivery::None) << c.what;
    EXPECT_NE(asGeneric.generation, asTransport.generation) << c.what;
    // The baseband header is the carrier's, whatever the card puts out.
    EXPECT_EQ(MediaInfo().matype1, matype1) << c.what;
    EXPECT_EQ(asGeneric.carrierStreamType, asTransport.carrierStreamType) << c.what;
  }
}

TEST_F(TunerDriverTest, DishPointingDecidesWhatIsReceived) {
  TuneAndAcquire(kS2Carrier);
  ASSERT_TRUE(Signal().locked);
  EXPECT_FALSE(driver.PointAt(4));  // the built-in sky has four satellites

  ASSERT_TRUE(driver.PointAt(1));  // Sat 16.0E has no 11362 H
  EXPECT_FALSE(Signal().locked);
  ASSERT_TRUE(driver.PointAt(0));
  EXPECT_FALSE(Signal().locked);  // back on the satellite: acquiring again
  clock->SleepMs(kAcquisitionTimeMs);
  EXPECT_TRUE(Signal().locked);

  // Two degrees off: 12 dB pointing loss leaves 6 dB, short of what 8PSK 2/3 needs.
  driver.SetPointingError(2.0);
  const SignalStatistics off = Signal();
  EXPECT_FALSE(off.locked);
  EXPECT_GT(off.strength, 0);
  driver.SetPointingError(0.0);
  EXPECT_TRUE(Signal().locked);  // the demodulator kept tracking
}

TEST_F(TunerDriverTest, BusListenersHearEveryMessage) {
  std::vector<std::vector<uint8_t>> heard;
  const int id = driver.AddDiseqcListener([&](const std::vector<uint8_t>& message) {
    heard.push_back(message);
    driver.SetPointingError(0.5);  // a motor moving the dish: calls back in
  });
  ASSERT_EQ(SetRecord(0, DiseqcRecord({0xE0, 0x31, 0x6B, 0x05})), S_OK);
  ASSERT_EQ(SetRecord(0, DiseqcRecord({0xE0, 0x10, 0x38, 0xF3})), S_OK);
  EXPECT_EQ(heard, (std::vector<std::vector<uint8_t>>{{0xE0, 0x31, 0x6B, 0x05}, {0xE0, 0x10, 0x38, 0xF3}}));
  EXPECT_DOUBLE_EQ(driver.Pointing().errorDeg, 0.5);
  driver.RemoveDiseqcListener(id);
  ASSERT_EQ(SetRecord(0, DiseqcRecord({0xE0, 0x31, 0x60})), S_OK);
  EXPECT_EQ(heard.size(), 2u);

  for (uint8_t i = 0; i < TunerDriver::kBusLogLimit; ++i) SetRecord(0, DiseqcRecord({0xE0, 0x31, 0x68, i}));
  const auto log = driver.DiseqcBusLog();
  ASSERT_EQ(log.size(), TunerDriver::kBusLogLimit);
  EXPECT_EQ(log.front(), (std::vector<uint8_t>{0xE0, 0x31, 0x68, 0x00}));  // the oldest dropped out
}

TEST(TunerDriverTrace, OneFlushedLinePerCall) {
  const std::string path = ::testing::TempDir() + "driver_trace_test.txt";
  std::string error;
  auto trace = DriverTrace::Open(path, &error);
  ASSERT_TRUE(trace) << error;
  TunerDriver driver(DefaultSky(), {}, std::move(trace));
  DWORD support = 0;
  auto diseqc = DiseqcRecord({0xE0, 0x10, 0x38, 0xF2});
  uint8_t pair[2];
  driver.QuerySupported(KSPROPSETID_TunerExtension, 0, &support);
  driver.Set(KSPROPSETID_TunerExtension, 0, diseqc.data(), 11);
  driver.Get(KSPROPSETID_TunerExtension, 13, pair, 2, nullptr);
  driver.SubmitTune(TuneMHz(11700, 9750, 10600, 10600, H, 27500));
  driver.Get(GUID_NULL, 12, pair, 2, nullptr);

  // Read while the driver (and its trace) still lives.
  std::ifstream file(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "QuerySupported 0",
                       "Set 0 E0 10 38 F2 00 00 00 00 00 00 04",
                       "Get 13 01 00",
                       "Tune carrier=11700000 low=9750000 high=10600000 switch=10600000 pol=H sr=27500",
                       "Get {00000000-0000-0000-0000-000000000000} 12",
                   }));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace sim
