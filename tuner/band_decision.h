#pragma once
// Band decision and DiSEqC 1.0 committed-switch bytes for one tune. Pure
// functions on MHz values; the tuning action feeds them the page's numbers.

#include <array>
#include <cstdint>

// The parameters of one tune, as typed on the Tuner Setting page.
struct TransponderParams {
  int32_t frequency;     // downlink, MHz
  int32_t lnbLow;        // MHz
  int32_t lnbHigh;       // MHz
  int32_t symbolRate;    // kilosymbols per second
  uint8_t polarisation;  // 0 horizontal, anything else vertical
};

// The tuner accepts IFs from 951 to 2149 MHz inclusive.
inline constexpr int kMinUsableIfMHz = 951;
inline constexpr int kMaxUsableIfMHz = 2149;

// The oscillator that brings `frequency` into the tuner's IF range, or 0
// when neither does. With both usable, the one whose IF lies nearer 600 MHz
// (in practice: the lower IF) wins; on a tie the high oscillator wins.
int SelectLNBOscillator(int frequency, int highOscillator, int lowOscillator);

// Whether the tune needs the LNB's high band (22 kHz tone on). Knows the
// universal LNB (9750/10600, split at 11700 MHz), LNBs whose high band is
// 10600 or 10750, the single-oscillator C-band and 11300 LNBs (always low),
// and the 11200 oscillator.
bool DecideHighBand(int frequency, int lnbLow, int lnbHigh);

// The oscillator the decided band uses (high band: lnbHigh, else lnbLow),
// or 0 when it does not bring `frequency` into the tuner's IF range. The
// tone, the IF and the switch message's band bit all follow this one band.
int BandOscillator(int frequency, int lnbLow, int lnbHigh);

// Data byte of the committed-switch command: F0, plus 01 for the high band,
// 02 for horizontal polarisation, and the port (1 A .. 4 D) in bits 2-3.
// Ports outside 1..4 leave bits 2-3 clear, as port A does.
uint8_t CommittedSwitchDataByte(bool highBand, uint8_t polarisation, int diseqcPort);

// The DiSEqC 1.0 committed-switch write E0 10 38 D.
using CommittedSwitchMessage = std::array<uint8_t, 4>;
CommittedSwitchMessage MakeCommittedSwitchMessage(bool highBand, uint8_t polarisation,
                                                  int diseqcPort);
