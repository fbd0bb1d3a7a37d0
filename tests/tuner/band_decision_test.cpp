#include "tuner/band_decision.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct OscillatorCase {
  int frequency, high, low;
  int expected;
};

TEST(SelectLNBOscillator, PicksTheOscillatorWithTheUsableLowerIf) {
  const OscillatorCase cases[] = {
      {11600, 10600, 9750, 10600},  // both usable: IF 1000 beats 1850
      {12000, 10750, 9750, 10750},  // only high: low IF 2250 too far
      {11500, 10750, 9750, 9750},   // only low: high IF 750 too near
      {11800, 10750, 10750, 10750}, // tie goes to high
      {10000, 10600, 9750, 0},      // neither: IFs 600 and 250
      {10701, 9750, 9750, 9750},    // IF 951 is the lowest usable
      {10700, 9750, 9750, 0},       // IF 950 is not
      {11899, 9750, 9750, 9750},    // IF 2149 is the highest usable
      {11900, 9750, 9750, 0},       // IF 2150 is not
      {3800, 5150, 5150, 5150},     // C band: oscillator above the downlink
      {11600, 0, 0, 0},             // absent oscillators are never usable
      {11600, -10600, 9750, 9750},  // nor negative ones
      {INT_MAX, INT_MIN, INT_MIN, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SelectLNBOscillator(c.frequency, c.high, c.low), c.expected)
        << "F " << c.frequency << " H " << c.high << " L " << c.low;
  }
}

struct BandCase {
  int frequency, low, high;
  bool highBand;
};

TEST(DecideHighBand, FollowsTheFourSteps) {
  const BandCase cases[] = {
      {11699, 9750, 10600, false},  // universal LNB split at 11700
      {11700, 9750, 10600, true},
      {11600, 9750, 10600, false},  // though SelectLNBOscillator picks 10600
      {10000, 9750, 10600, false},  // neither usable, rule still applies
      {12750, 9750, 10600, true},
      {12000, 9750, 10750, true},   // only high usable
      {11500, 9750, 10750, false},  // only low usable
      {11800, 10750, 10750, true},  // tie takes high
      {12000, 9750, 10700, false},  // high chosen but not a known high band
      {3800, 5150, 5150, false},
      {12300, 11300, 11300, false},
      {12500, 11300, 10600, false}, // 11300 anywhere forces low
      {12500, 11200, 11200, false},
      {12500, 9750, 11200, true},
      {12500, 11200, 10600, false}, // 11200 chosen as the low oscillator
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecideHighBand(c.frequency, c.low, c.high), c.highBand)
        << "F " << c.frequency << " L " << c.low << " H " << c.high;
  }
}

struct SwitchCase {
  bool highBand;
  uint8_t polarisation;
  int port;
  uint8_t expected;
};

TEST(CommittedSwitch, DataByteCarriesBandPolarisationAndPort) {
  const SwitchCase cases[] = {
      {false, 0, 1, 0xF2}, {true, 0, 1, 0xF3},  {false, 1, 2, 0xF4},
      {true, 0, 4, 0xFF},  {false, 1, 3, 0xF8}, {false, 0xFF, 1, 0xF0},  // any non-zero is vertical
      {true, 1, 0, 0xF1},  {true, 1, 7, 0xF1},  // unknown ports add no port bits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CommittedSwitchDataByte(c.highBand, c.polarisation, c.port), c.expected)
        << "high " << c.highBand << " pol " << int(c.polarisation) << " port " << c.port;
  }
}

TEST(CommittedSwitch, MessageIsFramedForAnySwitch) {
  const CommittedSwitchMessage expected = {0xE0, 0x10, 0x38, 0xF3};
  EXPECT_EQ(MakeCommittedSwitchMessage(DecideHighBand(11700, 9750, 10600), 0, 1), expected);
}

}  // namespace
