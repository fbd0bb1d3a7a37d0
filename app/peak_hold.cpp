#include "app/peak_hold.h"

bool PeakHold::Add(const SignalSample& sample, std::int64_t wallClockMs) {
  if (!sample.locked) return false;
  if (m_peak && sample.quality <= m_peak->sample.quality) return false;
  m_peak = HeldPeak{sample, wallClockMs};
  return true;
}
