#include "platform/sim/driver/bit_rate.h"

#include <array>

namespace sim {
namespace {

constexpr size_t kRates = static_cast<size_t>(CodeRate::R9_10) + 1;

// Code rates as fractions, in CodeRate order.
constexpr std::array<std::array<int64_t, 2>, kRates> kFraction = {{
    {1, 4}, {1, 3}, {2, 5}, {1, 2}, {3, 5}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 10}}};

// DVB-S2 BCH payload bits per FECFRAME, in CodeRate order; 0: no such code.
constexpr std::array<int64_t, kRates> kKbchNormal = {16008, 21408, 25728, 32208, 38688, 43040, 48408,
                                                     51648, 53840, 0,     0,     57472, 58192};
constexpr std::array<int64_t, kRates> kKbchShort = {3072,  5232, 6312, 7032,  9552,  10632, 11712,
                                                    12432, 13152, 0,   0,     14232, 0};

constexpr int64_t kBaseBandHeaderBits = 80;
constexpr int64_t kSlotSymbols = 90;
constexpr int64_t kPilotBlockSymbols = 36;
constexpr int64_t kSlotsPerPilotBlock = 16;

int64_t BitsPerSymbol(Modulation modulation) {
  switch (modulation) {
    case Modulation::Qpsk: return 2;
    case Modulation::Psk8: return 3;
    case Modulation::Apsk16: return 4;
    case Modulation::Apsk32: return 5;
  }
  return 0;
}

int64_t DvbsRate(const Transponder& t) {
  const auto [num, den] = kFraction[static_cast<size_t>(t.codeRate)];
  return int64_t{t.symbolRateKs} * 1000 * 2 * num * 188 / (den * 204);
}

int64_t Dvbs2Rate(const Transponder& t) {
  const size_t rate = static_cast<size_t>(t.codeRate);
  const int64_t kbch = t.shortFrame ? kKbchShort[rate] : kKbchNormal[rate];
  const int64_t bitsPerSymbol = BitsPerSymbol(t.modulation);
  if (kbch == 0 || bitsPerSymbol == 0) return 0;
  const int64_t frameBits = t.shortFrame ? 16200 : 64800;
  const int64_t slots = frameBits / (bitsPerSymbol * kSlotSymbols);
  const int64_t pilotBlocks = t.pilots ? (slots - 1) / kSlotsPerPilotBlock : 0;
  const int64_t frameSymbols = kSlotSymbols * (slots + 1) + kPilotBlockSymbols * pilotBlocks;
  return int64_t{t.symbolRateKs} * 1000 * (kbch - kBaseBandHeaderBits) / frameSymbols;
}

}  // namespace

int64_t UsefulBitRate(const Transponder& transponder) {
  if (transponder.symbolRateKs <= 0) return 0;
  return transponder.system == DeliverySystem::DvbS ? DvbsRate(transponder) : Dvbs2Rate(transponder);
}

}  // namespace sim
