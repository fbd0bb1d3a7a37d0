// The frontend's signal statistics on the 0 to 100 scale of the status strip.
//
// DVBv5 statistics come with their own scale, per measure and per read:
//  - strength in 0.001 dBm: -75 dBm and below is 0, -25 dBm and above is
//    100, 2 points per dB in between (the span satellite tuners report);
//  - carrier-to-noise in 0.001 dB: 0 dB is 0, 20 dB and above is 100,
//    5 points per dB (the simulated card's quality scale);
//  - relative (either measure): 0 to 65535 is 0 to 100;
//  - not available: no value this time. Right after a tune or lock this is
//    normal; the next read asks again.
// The legacy reads (FE_READ_SIGNAL_STRENGTH, FE_READ_SNR) have no declared
// scale; they are taken as relative 0 to 65535, what most satellite drivers
// give (cx24116 and stv090x/stv0900 scale to 0xffff; m88ds3103's SNR in
// 0.1 dB is the exception, and it reports DVBv5 C/N, which is asked first).
//
// Where the C/N is known in dB and the tuned MODCOD too, quality follows the
// link margin instead (the C/N above what the MODCOD needs for quasi-error-
// free reception), so it means the same on every card and every carrier:
// -3 dB and below is 0, 0 dB (the threshold) is 30, 7 dB and above is 100.
// Pure functions.
#pragma once

#include <linux/dvb/frontend.h>

#include <cstdint>
#include <optional>

namespace linuxdvb {

// None when the measure is not available (no entry, or its scale says so).
std::optional<int> StrengthPercent(const dtv_fe_stats& stats);
std::optional<int> CarrierToNoisePercent(const dtv_fe_stats& stats);
int LegacyPercent(std::uint16_t value);
int QualityFromMargin(double marginDb);

// The global value of a DVBv5 measure in dB (decibel scale only), and of a
// counter.
std::optional<double> DecibelValue(const dtv_fe_stats& stats);
std::optional<std::uint64_t> CounterValue(const dtv_fe_stats& stats);

}  // namespace linuxdvb
