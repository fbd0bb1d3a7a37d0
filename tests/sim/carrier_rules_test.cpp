#include "platform/sim/sky/carrier_rules.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

using M = Modulation;
using R = CodeRate;

TEST(CarrierRules, Dvbs2ModcodNumbering) {
  const struct {
    M modulation;
    std::vector<std::pair<R, uint32_t>> rates;
  } table[] = {
      {M::Qpsk, {{R::R1_4, 1}, {R::R1_3, 2}, {R::R2_5, 3}, {R::R1_2, 4}, {R::R3_5, 5}, {R::R2_3, 6},
                 {R::R3_4, 7}, {R::R4_5, 8}, {R::R5_6, 9}, {R::R8_9, 10}, {R::R9_10, 11}}},
      {M::Psk8, {{R::R3_5, 12}, {R::R2_3, 13}, {R::R3_4, 14}, {R::R5_6, 15}, {R::R8_9, 16}, {R::R9_10, 17}}},
      {M::Apsk16, {{R::R2_3, 18}, {R::R3_4, 19}, {R::R4_5, 20}, {R::R5_6, 21}, {R::R8_9, 22}, {R::R9_10, 23}}},
      {M::Apsk32, {{R::R3_4, 24}, {R::R4_5, 25}, {R::R5_6, 26}, {R::R8_9, 27}, {R::R9_10, 28}}},
  };
  int defined = 0;
  for (const auto& row : table) {
    for (const auto& [rate, modcod] : row.rates) {
      EXPECT_EQ(Dvbs2Modcod(row.modulation, rate), modcod) << "MODCOD " << modcod;
      ++defined;
    }
  }
  EXPECT_EQ(defined, 28);
  EXPECT_EQ(Dvbs2Modcod(M::Psk8, R::R1_2), std::nullopt);
  EXPECT_EQ(Dvbs2Modcod(M::Apsk32, R::R2_3), std::nullopt);
  EXPECT_EQ(Dvbs2Modcod(M::Qpsk, R::R7_8), std::nullopt);
}

TEST(CarrierRules, DvbsCodeRateIndex) {
  const std::pair<R, uint32_t> table[] = {{R::R1_2, 0}, {R::R2_3, 1}, {R::R3_4, 2}, {R::R4_5, 3},
                                          {R::R5_6, 4}, {R::R6_7, 5}, {R::R7_8, 6}, {R::R8_9, 7}};
  for (const auto& [rate, index] : table) EXPECT_EQ(DvbsCodeRateIndex(rate), index);
  EXPECT_EQ(DvbsCodeRateIndex(R::R9_10), std::nullopt);
  EXPECT_EQ(DvbsCodeRateIndex(R::R1_4), std::nullopt);
}

TEST(CarrierRules, RejectsCarriersTheStandardsDoNotDefine) {
  const Transponder dvbs{.frequencyMHz = 11034, .symbolRateKs = 27500, .codeRate = R::R3_4};
  const Transponder dvbs2{.frequencyMHz = 11362, .symbolRateKs = 22000, .system = DeliverySystem::DvbS2,
                          .modulation = M::Psk8, .codeRate = R::R2_3};
  EXPECT_EQ(TransponderProblem(dvbs), "");
  EXPECT_EQ(TransponderProblem(dvbs2), "");

  const std::pair<Transponder, std::string> cases[] = {
      {[&] { auto t = dvbs; t.modulation = M::Psk8; return t; }(), "DVB-S carries QPSK only"},
      {[&] { auto t = dvbs; t.codeRate = R::R9_10; return t; }(), "code rate not defined for DVB-S"},
      {[&] { auto t = dvbs; t.rollOff = RollOff::R0_20; return t; }(), "DVB-S roll-off is 0.35"},
      {[&] { auto t = dvbs; t.pilots = true; return t; }(), "pilots and short frames are DVB-S2 only"},
      {[&] { auto t = dvbs; t.streamType = StreamType::GenericContinuous; return t; }(),
       "DVB-S carries a transport stream only"},
      {[&] { auto t = dvbs; t.inputStreamIds = {1, 2}; return t; }(),
       "ACM, ISSY, NPD, input stream ids and PLS are DVB-S2 only"},
      {[&] { auto t = dvbs2; t.codeRate = R::R1_2; return t; }(),
       "modulation and code rate form no DVB-S2 MODCOD"},
      {[&] { auto t = dvbs2; t.codeRate = R::R9_10; t.shortFrame = true; return t; }(),
       "code rate 9/10 has no short frame"},
      {[&] { auto t = dvbs2; t.inputStreamIds = {1, 256}; return t; }(), "input stream id must be 0 to 255"},
      {[&] { auto t = dvbs2; t.inputStreamIds = {3, 3}; return t; }(), "input stream id listed twice"},
      {[&] { auto t = dvbs2; t.frequencyMHz = 0; return t; }(), "frequency must be 2000 to 30000 MHz"},
      {[&] { auto t = dvbs2; t.symbolRateKs = 999; return t; }(), "symbol rate must be 1000 to 72000 kS/s"},
  };
  for (const auto& [transponder, reason] : cases) EXPECT_EQ(TransponderProblem(transponder), reason);
}

}  // namespace
}  // namespace sim
