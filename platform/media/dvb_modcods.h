// Facts of the DVB-S and DVB-S2 standards that every card backend needs:
// the DVB-S2 MODCOD numbers (EN 302 307, the MATYPE's PLS code) and the
// DVB-S code-rate indexes the card reports, each with the Es/N0 in dB a
// demodulator needs for quasi-error-free reception on an AWGN channel (the
// standards' ideal figures; DVB-S after Viterbi and Reed-Solomon). Pure.
#pragma once

#include <cstdint>
#include <optional>

namespace dvb {

// Modulations in MODCOD order.
enum class Constellation : std::uint8_t { Qpsk = 0, Psk8 = 1, Apsk16 = 2, Apsk32 = 3 };

struct CodeRate {
  std::uint8_t numerator = 0;
  std::uint8_t denominator = 0;
  bool operator==(const CodeRate&) const = default;
};

// DVB-S2 MODCOD 1..28 of a constellation and code rate; none for a pair the
// standard does not define.
std::optional<std::uint32_t> Dvbs2Modcod(Constellation constellation, CodeRate rate);
// DVB-S code-rate index: 0 1/2, 1 2/3, 2 3/4, 3 4/5, 4 5/6, 5 6/7, 6 7/8, 7 8/9.
std::optional<std::uint32_t> DvbsRateIndex(CodeRate rate);

// The Es/N0 needed for quasi-error-free reception, none for an unknown
// MODCOD or index.
std::optional<double> RequiredEsN0ForModcod(std::uint32_t modcod);
std::optional<double> RequiredEsN0ForDvbsRate(std::uint32_t index);

}  // namespace dvb
