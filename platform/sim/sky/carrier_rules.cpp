#include "platform/sim/sky/carrier_rules.h"

#include <limits>
#include <set>

#include "platform/media/dvb_modcods.h"

namespace sim {
namespace {

constexpr double kNeverLocks = std::numeric_limits<double>::infinity();

dvb::Constellation ToConstellation(Modulation modulation) {
  switch (modulation) {
    case Modulation::Qpsk: return dvb::Constellation::Qpsk;
    case Modulation::Psk8: return dvb::Constellation::Psk8;
    case Modulation::Apsk16: return dvb::Constellation::Apsk16;
    case Modulation::Apsk32: return dvb::Constellation::Apsk32;
  }
  return dvb::Constellation::Qpsk;
}

dvb::CodeRate ToCodeRate(CodeRate rate) {
  switch (rate) {
    case CodeRate::R1_4: return {1, 4};
    case CodeRate::R1_3: return {1, 3};
    case CodeRate::R2_5: return {2, 5};
    case CodeRate::R1_2: return {1, 2};
    case CodeRate::R3_5: return {3, 5};
    case CodeRate::R2_3: return {2, 3};
    case CodeRate::R3_4: return {3, 4};
    case CodeRate::R4_5: return {4, 5};
    case CodeRate::R5_6: return {5, 6};
    case CodeRate::R6_7: return {6, 7};
    case CodeRate::R7_8: return {7, 8};
    case CodeRate::R8_9: return {8, 9};
    case CodeRate::R9_10: return {9, 10};
  }
  return {};
}

std::string DvbsProblem(const Transponder& t) {
  if (t.modulation != Modulation::Qpsk) return "DVB-S carries QPSK only";
  if (!DvbsCodeRateIndex(t.codeRate)) return "code rate not defined for DVB-S";
  if (t.rollOff != RollOff::R0_35) return "DVB-S roll-off is 0.35";
  if (t.pilots || t.shortFrame) return "pilots and short frames are DVB-S2 only";
  if (t.streamType != StreamType::Transport) return "DVB-S carries a transport stream only";
  if (!t.ccm || t.issy || t.npd || !t.inputStreamIds.empty() || t.plsGold != 0) {
    return "ACM, ISSY, NPD, input stream ids and PLS are DVB-S2 only";
  }
  return {};
}

std::string Dvbs2Problem(const Transponder& t) {
  if (!Dvbs2Modcod(t.modulation, t.codeRate)) return "modulation and code rate form no DVB-S2 MODCOD";
  if (t.shortFrame && t.codeRate == CodeRate::R9_10) return "code rate 9/10 has no short frame";
  std::set<int> seen;
  for (int id : t.inputStreamIds) {
    if (id < 0 || id > 255) return "input stream id must be 0 to 255";
    if (!seen.insert(id).second) return "input stream id listed twice";
  }
  return {};
}

}  // namespace

std::optional<uint32_t> Dvbs2Modcod(Modulation modulation, CodeRate rate) {
  return dvb::Dvbs2Modcod(ToConstellation(modulation), ToCodeRate(rate));
}

std::optional<uint32_t> DvbsCodeRateIndex(CodeRate rate) { return dvb::DvbsRateIndex(ToCodeRate(rate)); }

double RequiredCarrierToNoiseDb(const Transponder& transponder) {
  const auto index = transponder.system == DeliverySystem::DvbS ? DvbsCodeRateIndex(transponder.codeRate)
                                                                 : Dvbs2Modcod(transponder.modulation, transponder.codeRate);
  if (!index) return kNeverLocks;
  const auto required = transponder.system == DeliverySystem::DvbS ? dvb::RequiredEsN0ForDvbsRate(*index)
                                                                    : dvb::RequiredEsN0ForModcod(*index);
  return required.value_or(kNeverLocks);
}

std::string TransponderProblem(const Transponder& t) {
  if (!(t.frequencyMHz >= 2000 && t.frequencyMHz <= 30000)) return "frequency must be 2000 to 30000 MHz";
  if (t.symbolRateKs < 1000 || t.symbolRateKs > 72000) return "symbol rate must be 1000 to 72000 kS/s";
  return t.system == DeliverySystem::DvbS ? DvbsProblem(t) : Dvbs2Problem(t);
}

}  // namespace sim
