#include "tuner/band_decision.h"

#include <cstdlib>

namespace {

// Differences in 64 bits: the inputs are operator text converted with
// clamping, so INT_MIN and INT_MAX can meet here.
int64_t Distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

bool IsUsable(int oscillator, int64_t intermediate) {
  return oscillator > 0 && intermediate >= kMinUsableIfMHz && intermediate <= kMaxUsableIfMHz;
}

}  // namespace

int SelectLNBOscillator(int frequency, int highOscillator, int lowOscillator) {
  const int64_t ifHigh = Distance(frequency, highOscillator);
  const int64_t ifLow = Distance(frequency, lowOscillator);
  const bool highUsable = IsUsable(highOscillator, ifHigh);
  const bool lowUsable = IsUsable(lowOscillator, ifLow);
  if (highUsable && lowUsable) {
    return Distance(ifHigh, 600) <= Distance(ifLow, 600) ? highOscillator : lowOscillator;
  }
  if (highUsable) return highOscillator;
  if (lowUsable) return lowOscillator;
  return 0;
}

bool DecideHighBand(int frequency, int lnbLow, int lnbHigh) {
  bool high = false;
  int chosen = 0;
  if (lnbLow == 9750 && lnbHigh == 10600) {
    high = frequency >= 11700;
    chosen = high ? lnbHigh : 9750;
  } else {
    chosen = SelectLNBOscillator(frequency, lnbHigh, lnbLow);
    high = chosen == lnbHigh && (lnbHigh == 10600 || lnbHigh == 10750);
  }
  if (lnbLow == 5150 || lnbHigh == 5150 || lnbLow == 11300 || lnbHigh == 11300) high = false;
  if (chosen == 11200) {
    if (lnbHigh == 11200) high = true;
    if (lnbLow == 11200) high = false;
  }
  return high;
}

int BandOscillator(int frequency, int lnbLow, int lnbHigh) {
  const int oscillator = DecideHighBand(frequency, lnbLow, lnbHigh) ? lnbHigh : lnbLow;
  return IsUsable(oscillator, Distance(frequency, oscillator)) ? oscillator : 0;
}

uint8_t CommittedSwitchDataByte(bool highBand, uint8_t polarisation, int diseqcPort) {
  uint8_t data = 0xF0;
  if (highBand) data |= 0x01;
  if (polarisation == 0) data |= 0x02;
  switch (diseqcPort) {
    case 2: data |= 0x04; break;
    case 3: data |= 0x08; break;
    case 4: data |= 0x0C; break;
    default: break;  // port A and anything unknown: bits 2-3 clear
  }
  return data;
}

CommittedSwitchMessage MakeCommittedSwitchMessage(bool highBand, uint8_t polarisation,
                                                  int diseqcPort) {
  return {0xE0, 0x10, 0x38, CommittedSwitchDataByte(highBand, polarisation, diseqcPort)};
}
