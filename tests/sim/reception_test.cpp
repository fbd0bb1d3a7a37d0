#include "platform/sim/sky/reception.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

using P = Polarisation;

// The band is the application's decision; the request's oscillator is the
// one that band uses.
TuneRequest Request(int frequencyMHz, int lowMHz, int highMHz, int switchMHz, P polarisation, bool highBand) {
  return {int64_t{frequencyMHz} * 1000, int64_t{lowMHz} * 1000, int64_t{highMHz} * 1000,
          int64_t{switchMHz} * 1000, polarisation, 22000, highBand};
}

TEST(Reception, TuneSetsToneAndIfFromTheRequest) {
  const Lnb universal{9750, 10600};
  const struct {
    TuneRequest request;
    bool toneOn;
    int64_t ifKHz;
    bool inRange;
    int64_t receivedKHz;
  } cases[] = {
      {Request(11700, 9750, 10600, 10600, P::Horizontal, true), true, 1100000, true, 11700000},
      {Request(11600, 9750, 10600, 9750, P::Horizontal, false), false, 1850000, true, 11600000},
      {Request(11362, 9750, 10600, 9750, P::Horizontal, false), false, 1612000, true, 11362000},
      {Request(12700, 9750, 10600, 10600, P::Vertical, true), true, 2100000, true, 12700000},
      // No usable oscillator: IF beyond the tuner's reach.
      {Request(10000, 9750, 10600, 0, P::Vertical, false), false, 10000000, false, 9750000 + 10000000},
      // Oscillators typed for another LNB: the LNB's own 10600 gives another downlink.
      {Request(12000, 9750, 10750, 10750, P::Vertical, true), true, 1250000, true, 11850000},
      // C band, a single oscillator above the downlink: low band, no tone.
      {Request(3800, 5150, 5150, 5150, P::Horizontal, false), false, 1350000, true, 9750000 - 1350000},
      // Tuner range edges.
      {Request(10700, 9750, 10600, 9750, P::Vertical, false), false, 950000, true, 10700000},
      {Request(11900, 9750, 10600, 9750, P::Vertical, false), false, 2150000, true, 11900000},
      {Request(11901, 9750, 10600, 9750, P::Vertical, false), false, 2151000, false, 11901000},
  };
  for (const auto& c : cases) {
    const LnbControl control = ApplyTuneToLnb({}, c.request);
    const FrontendTune tune = TuneFrontend(c.request);
    SCOPED_TRACE(c.request.downlinkKHz);
    EXPECT_EQ(control.toneOn, c.toneOn);
    EXPECT_EQ(control.polarisation, c.request.polarisation);
    EXPECT_EQ(tune.ifKHz, c.ifKHz);
    EXPECT_EQ(tune.ifInRange, c.inRange);
    EXPECT_EQ(ReceivedDownlinkKHz(tune, universal, control), c.receivedKHz);
  }
}

TEST(Reception, CommittedSwitchChangesOnlyTheBitsItNames) {
  const uint8_t fullWrite[] = {0xE0, 0x10, 0x38, 0xF3};
  ASSERT_TRUE(ParseCommittedSwitch(fullWrite, 4));
  const struct {
    uint8_t data;
    LnbControl before;
    LnbControl after;
  } cases[] = {
      {0xF3, {false, P::Vertical, 1}, {true, P::Horizontal, 1}},
      {0xF4, {true, P::Horizontal, 1}, {false, P::Vertical, 2}},
      {0xFF, {false, P::Vertical, 1}, {true, P::Horizontal, 4}},
      {0x11, {false, P::Vertical, 3}, {true, P::Vertical, 3}},   // band only
      {0x48, {true, P::Horizontal, 4}, {true, P::Horizontal, 3}},  // port bit 2 cleared: D -> C
      {0x03, {false, P::Vertical, 2}, {false, P::Vertical, 2}},  // nothing enabled
  };
  for (const auto& c : cases) {
    const LnbControl after = ApplyCommittedSwitch(c.before, CommittedSwitch{c.data});
    SCOPED_TRACE(static_cast<int>(c.data));
    EXPECT_EQ(after.toneOn, c.after.toneOn);
    EXPECT_EQ(after.polarisation, c.after.polarisation);
    EXPECT_EQ(after.port, c.after.port);
  }
}

TEST(Reception, OnlyCommittedSwitchMessagesAreSwitchCommands) {
  const std::vector<std::vector<uint8_t>> accepted = {
      {0xE0, 0x10, 0x38, 0xF0}, {0xE1, 0x10, 0x38, 0xF0}, {0xE0, 0x11, 0x38, 0xF0}};
  const std::vector<std::vector<uint8_t>> refused = {
      {0xE0, 0x31, 0x6B, 0x01}, {0xE0, 0x31, 0x60}, {0xE0, 0x10, 0x39, 0xF0},
      {0xE0, 0x10, 0x38}, {0xE0, 0x10, 0x38, 0xF0, 0x00}, {0xE2, 0x10, 0x38, 0xF0}};
  for (const auto& m : accepted) EXPECT_TRUE(ParseCommittedSwitch(m.data(), m.size()));
  for (const auto& m : refused) EXPECT_FALSE(ParseCommittedSwitch(m.data(), m.size()));
  EXPECT_FALSE(ParseCommittedSwitch(nullptr, 4));
}

TEST(Reception, LastOfSwitchMessageAndTuneWins) {
  Satellite satellite{"Sat", 0, {{.frequencyMHz = 11600, .polarisation = P::Horizontal, .symbolRateKs = 22000}}};
  const Lnb universal{9750, 10600};
  const TuneRequest request = Request(11600, 9750, 10600, 10600, P::Horizontal, true);
  const CommittedSwitch lowBandHorizontal{0xF2};

  // As tuning does it: switch message first, then the request sets the high band.
  const LnbControl tuned = ApplyTuneToLnb(ApplyCommittedSwitch({}, lowBandHorizontal), request);
  EXPECT_EQ(Receive(satellite, universal, request, tuned, 0.0).transponderIndex, 0u);

  // A switch message after the tune moves the LNB to the low band: 9750 + 1000 MHz.
  const LnbControl switched = ApplyCommittedSwitch(ApplyTuneToLnb({}, request), lowBandHorizontal);
  const Reception afterSwitch = Receive(satellite, universal, request, switched, 0.0);
  EXPECT_EQ(afterSwitch.downlinkKHz, 10750000);
  EXPECT_FALSE(afterSwitch.transponderIndex);
  EXPECT_FALSE(afterSwitch.signal.locked);
}

TEST(Reception, TransponderMatchTolerances) {
  Satellite satellite{"Sat", 0, {
      {.frequencyMHz = 11362, .polarisation = P::Horizontal, .symbolRateKs = 22000},  // tolerance 5.5 MHz
      {.frequencyMHz = 12441, .polarisation = P::Vertical, .symbolRateKs = 2000},     // tolerance 5 MHz
      {.frequencyMHz = 12447, .polarisation = P::Vertical, .symbolRateKs = 2000},
  }};
  const struct {
    int64_t downlinkKHz;
    P polarisation;
    int symbolRateKs;
    std::optional<size_t> expected;
  } cases[] = {
      {11362000, P::Horizontal, 22000, 0},
      {11367500, P::Horizontal, 22000, 0},
      {11367501, P::Horizontal, 22000, std::nullopt},
      {11362000, P::Vertical, 22000, std::nullopt},
      {11362000, P::Horizontal, 22440, 0},  // within 2%
      {11362000, P::Horizontal, 22441, std::nullopt},
      {11362000, P::Horizontal, 0, std::nullopt},
      {12436000, P::Vertical, 2000, 1},
      {12435999, P::Vertical, 2000, std::nullopt},
      {12443000, P::Vertical, 2000, 1},  // both in reach: the nearer one
      {12445000, P::Vertical, 2000, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindTransponder(satellite, c.downlinkKHz, c.polarisation, c.symbolRateKs), c.expected)
        << c.downlinkKHz << " kHz, " << c.symbolRateKs << " kS/s";
  }
}

TEST(Reception, SignalFollowsPointingAndModulation) {
  const Transponder qpsk{.frequencyMHz = 11034, .symbolRateKs = 27500, .codeRate = CodeRate::R3_4};
  const Transponder apsk32{.frequencyMHz = 12606, .symbolRateKs = 36000, .system = DeliverySystem::DvbS2,
                           .modulation = Modulation::Apsk32, .codeRate = CodeRate::R3_4};
  const SignalReport onTarget = AssessSignal(&apsk32, 0.0);
  EXPECT_TRUE(onTarget.locked);
  EXPECT_EQ(onTarget.strength, 94);
  EXPECT_EQ(onTarget.quality, 90);

  // 1.4 degrees off: about 6 dB lost, enough for QPSK 3/4 but not for 32APSK 3/4.
  EXPECT_TRUE(AssessSignal(&qpsk, 1.4).locked);
  EXPECT_FALSE(AssessSignal(&apsk32, 1.4).locked);
  EXPECT_GT(AssessSignal(&apsk32, 1.4).quality, 0);

  // Far off the satellite: nothing.
  const SignalReport farOff = AssessSignal(&qpsk, 10.0);
  EXPECT_FALSE(farOff.locked);
  EXPECT_EQ(farOff.strength, 0);
  EXPECT_EQ(farOff.quality, 0);
}

TEST(Reception, AScrambledCarrierLocksOnlyWithItsOwnCode) {
  Satellite satellite{"Sat", 0, {{.frequencyMHz = 11362, .polarisation = P::Horizontal, .symbolRateKs = 22000,
                                  .system = DeliverySystem::DvbS2, .modulation = Modulation::Psk8,
                                  .codeRate = CodeRate::R2_3, .plsGold = 8}}};
  const Lnb universal{9750, 10600};
  TuneRequest request = Request(11362, 9750, 10600, 9750, P::Horizontal, false);
  const LnbControl control = ApplyTuneToLnb({}, request);
  const Reception unscrambled = Receive(satellite, universal, request, control, 0.0);
  EXPECT_TRUE(unscrambled.transponderIndex);
  EXPECT_FALSE(unscrambled.signal.locked);
  EXPECT_GT(unscrambled.signal.strength, 0) << "the carrier is there";
  request.plsGold = 8;
  EXPECT_TRUE(Receive(satellite, universal, request, control, 0.0).signal.locked);

}

}  // namespace
}  // namespace sim
