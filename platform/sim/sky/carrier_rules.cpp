#include "platform/sim/sky/carrier_rules.h"

#include <algorithm>
#include <array>
#include <limits>
#include <set>

namespace sim {
namespace {

struct ModcodEntry {
  Modulation modulation;
  CodeRate rate;
  uint32_t modcod;
  double requiredEsN0Db;
};

using M = Modulation;
using R = CodeRate;

constexpr std::array<ModcodEntry, 28> kModcods = {{
    {M::Qpsk, R::R1_4, 1, -2.35},   {M::Qpsk, R::R1_3, 2, -1.24},   {M::Qpsk, R::R2_5, 3, -0.30},
    {M::Qpsk, R::R1_2, 4, 1.00},    {M::Qpsk, R::R3_5, 5, 2.23},    {M::Qpsk, R::R2_3, 6, 3.10},
    {M::Qpsk, R::R3_4, 7, 4.03},    {M::Qpsk, R::R4_5, 8, 4.68},    {M::Qpsk, R::R5_6, 9, 5.18},
    {M::Qpsk, R::R8_9, 10, 6.20},   {M::Qpsk, R::R9_10, 11, 6.42},  {M::Psk8, R::R3_5, 12, 5.50},
    {M::Psk8, R::R2_3, 13, 6.62},   {M::Psk8, R::R3_4, 14, 7.91},   {M::Psk8, R::R5_6, 15, 9.35},
    {M::Psk8, R::R8_9, 16, 10.69},  {M::Psk8, R::R9_10, 17, 10.98}, {M::Apsk16, R::R2_3, 18, 8.97},
    {M::Apsk16, R::R3_4, 19, 10.21}, {M::Apsk16, R::R4_5, 20, 11.03}, {M::Apsk16, R::R5_6, 21, 11.61},
    {M::Apsk16, R::R8_9, 22, 12.89}, {M::Apsk16, R::R9_10, 23, 13.13}, {M::Apsk32, R::R3_4, 24, 12.73},
    {M::Apsk32, R::R4_5, 25, 13.64}, {M::Apsk32, R::R5_6, 26, 14.28}, {M::Apsk32, R::R8_9, 27, 15.69},
    {M::Apsk32, R::R9_10, 28, 16.05},
}};

struct DvbsEntry {
  CodeRate rate;
  uint32_t index;
  double requiredEsN0Db;  // after Viterbi and Reed-Solomon
};

constexpr std::array<DvbsEntry, 8> kDvbsRates = {{
    {R::R1_2, 0, 4.15}, {R::R2_3, 1, 5.89}, {R::R3_4, 2, 6.91}, {R::R4_5, 3, 7.40},
    {R::R5_6, 4, 7.86}, {R::R6_7, 5, 8.20}, {R::R7_8, 6, 8.48}, {R::R8_9, 7, 8.90},
}};

constexpr double kNeverLocks = std::numeric_limits<double>::infinity();

const ModcodEntry* FindModcod(Modulation modulation, CodeRate rate) {
  const auto it = std::find_if(kModcods.begin(), kModcods.end(), [&](const ModcodEntry& e) {
    return e.modulation == modulation && e.rate == rate;
  });
  return it == kModcods.end() ? nullptr : &*it;
}

const DvbsEntry* FindDvbsRate(CodeRate rate) {
  const auto it = std::find_if(kDvbsRates.begin(), kDvbsRates.end(),
                               [&](const DvbsEntry& e) { return e.rate == rate; });
  return it == kDvbsRates.end() ? nullptr : &*it;
}

std::string DvbsProblem(const Transponder& t) {
  if (t.modulation != Modulation::Qpsk) return "DVB-S carries QPSK only";
  if (!FindDvbsRate(t.codeRate)) return "code rate not defined for DVB-S";
  if (t.rollOff != RollOff::R0_35) return "DVB-S roll-off is 0.35";
  if (t.pilots || t.shortFrame) return "pilots and short frames are DVB-S2 only";
  if (t.streamType != StreamType::Transport) return "DVB-S carries a transport stream only";
  if (!t.ccm || t.issy || t.npd || !t.inputStreamIds.empty()) {
    return "ACM, ISSY, NPD and input stream ids are DVB-S2 only";
  }
  return {};
}

std::string Dvbs2Problem(const Transponder& t) {
  if (!FindModcod(t.modulation, t.codeRate)) return "modulation and code rate form no DVB-S2 MODCOD";
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
  const ModcodEntry* entry = FindModcod(modulation, rate);
  if (!entry) return std::nullopt;
  return entry->modcod;
}

std::optional<uint32_t> DvbsCodeRateIndex(CodeRate rate) {
  const DvbsEntry* entry = FindDvbsRate(rate);
  if (!entry) return std::nullopt;
  return entry->index;
}

double RequiredCarrierToNoiseDb(const Transponder& transponder) {
  if (transponder.system == DeliverySystem::DvbS) {
    const DvbsEntry* entry = FindDvbsRate(transponder.codeRate);
    return entry ? entry->requiredEsN0Db : kNeverLocks;
  }
  const ModcodEntry* entry = FindModcod(transponder.modulation, transponder.codeRate);
  return entry ? entry->requiredEsN0Db : kNeverLocks;
}

std::string TransponderProblem(const Transponder& t) {
  if (!(t.frequencyMHz >= 2000 && t.frequencyMHz <= 30000)) return "frequency must be 2000 to 30000 MHz";
  if (t.symbolRateKs < 1000 || t.symbolRateKs > 72000) return "symbol rate must be 1000 to 72000 kS/s";
  return t.system == DeliverySystem::DvbS ? DvbsProblem(t) : Dvbs2Problem(t);
}

}  // namespace sim
