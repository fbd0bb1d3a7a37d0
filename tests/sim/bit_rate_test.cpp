#include "platform/sim/driver/bit_rate.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

// Checked against the standards' own figures: DVB-S 27.5 MBd 3/4 is the
// familiar 38.01 Mbit/s; DVB-S2 rates are the symbol rate times the
// spectral efficiencies tabulated in the DVB-S2 standard (pilots off).
TEST(BitRate, MatchesTheStandardsFigures) {
  const auto dvbs = [](int ks, CodeRate rate) {
    return Transponder{.symbolRateKs = ks, .system = DeliverySystem::DvbS, .codeRate = rate};
  };
  const auto s2 = [](int ks, Modulation m, CodeRate rate, bool shortFrame = false, bool pilots = false) {
    return Transponder{.symbolRateKs = ks, .system = DeliverySystem::DvbS2, .modulation = m, .codeRate = rate,
                       .pilots = pilots, .shortFrame = shortFrame};
  };
  const struct {
    const char* what;
    Transponder carrier;
    double mbps;
  } cases[] = {
      {"DVB-S 27500 3/4", dvbs(27500, CodeRate::R3_4), 38.014706},
      {"DVB-S 22000 5/6", dvbs(22000, CodeRate::R5_6), 22.0 * 2 * 5 / 6 * 188 / 204},
      {"QPSK 3/4", s2(1000, Modulation::Qpsk, CodeRate::R3_4), 1.487473},
      {"8PSK 2/3", s2(1000, Modulation::Psk8, CodeRate::R2_3), 1.980636},
      {"16APSK 3/4", s2(1000, Modulation::Apsk16, CodeRate::R3_4), 2.966728},
      {"32APSK 9/10", s2(1000, Modulation::Apsk32, CodeRate::R9_10), 4.453027},
      {"QPSK 1/4 short", s2(1000, Modulation::Qpsk, CodeRate::R1_4, true), 0.365324},
      // Pilots: 36 symbols per 16 slots, 22 blocks on a QPSK long frame.
      {"QPSK 1/2 pilots", s2(1000, Modulation::Qpsk, CodeRate::R1_2, false, true), 32128.0 / 33282},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(UsefulBitRate(c.carrier) / 1e6, c.mbps, 2e-6) << c.what;
  }
  EXPECT_EQ(UsefulBitRate(s2(27500, Modulation::Qpsk, CodeRate::R7_8)), 0);  // no such DVB-S2 code
  EXPECT_EQ(UsefulBitRate(s2(0, Modulation::Qpsk, CodeRate::R3_4)), 0);
}

}  // namespace
}  // namespace sim
