// The best reading since the operator last reset it: the quality an
// installer turns the dish back to once past the top. Only locked readings
// count: without lock the demodulator's quality is a guess at noise, and a
// peak there would send the installer to the wrong spot. Plain data, one
// thread.
#pragma once

#include <cstdint>
#include <optional>

#include "app/signal_history.h"

struct HeldPeak {
  SignalSample sample;           // the reading itself: its strength and margin at the peak
  std::int64_t wallClockMs = 0;  // when it was seen, for the operator's clock (ms since the epoch)
};

class PeakHold {
 public:
  // Takes a reading seen at wallClockMs; true when it set a new peak. A
  // quality equal to the held one keeps the earlier peak, so the time shown
  // is when the dish first got there.
  bool Add(const SignalSample& sample, std::int64_t wallClockMs = 0);

  const std::optional<HeldPeak>& Peak() const { return m_peak; }
  void Reset() { m_peak.reset(); }

 private:
  std::optional<HeldPeak> m_peak;
};
