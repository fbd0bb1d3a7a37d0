#pragma once
// Facts of the DVB-S and DVB-S2 standards the model needs: the DVB-S2
// MODCOD numbering, the DVB-S code-rate index the demodulator reports, the
// carrier-to-noise ratio each needs, and which carriers can exist at all.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/sim/sky/sky.h"

namespace sim {

// DVB-S2 MODCOD 1..28 for a modulation and code rate, nothing for a pair the
// standard does not define.
std::optional<uint32_t> Dvbs2Modcod(Modulation modulation, CodeRate rate);

// DVB-S code-rate index: 0 1/2, 1 2/3, 2 3/4, 3 4/5, 4 5/6, 5 6/7, 6 7/8,
// 7 8/9; nothing for other rates.
std::optional<uint32_t> DvbsCodeRateIndex(CodeRate rate);

// Es/N0 in dB a demodulator needs for quasi-error-free reception of the
// carrier (the standards' ideal figures for an AWGN channel).
double RequiredCarrierToNoiseDb(const Transponder& transponder);

// Why the transponder cannot exist, or "" when it can.
std::string TransponderProblem(const Transponder& transponder);

}  // namespace sim
