// The readings' trend without the monitor's reading-to-reading jitter: an
// exponential moving average with a time constant of about two seconds.
// Short enough that a turn of the dish shows within a few readings, long
// enough that the direction of a slow sweep can be seen. The readings come
// at uneven intervals (1 or 1.5 s), so each step weighs by the time since
// the last one. Plain data, one thread.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "app/signal_history.h"

struct SmoothedReading {
  std::uint64_t timeMs = 0;
  double quality = 0;  // in the readings' own units
  double strength = 0;
  std::optional<double> marginDb;  // none where the reading has none
};

class SignalSmoother {
 public:
  static constexpr std::uint64_t kTimeConstantMs = 2000;

  explicit SignalSmoother(std::uint64_t timeConstantMs = kTimeConstantMs) : m_timeConstantMs(timeConstantMs) {}

  // Takes the next reading and returns the smoothed values at its time. After
  // a gap in the readings (SignalHistory::kGapMs) it starts again from the
  // reading, as the plot starts a new line there.
  SmoothedReading Add(const SignalSample& sample);
  void Reset() { m_last.reset(); }

 private:
  std::uint64_t m_timeConstantMs;
  std::optional<SmoothedReading> m_last;
};

// The smoothed values of a history's samples, one for each, in order.
std::vector<SmoothedReading> Smooth(const std::deque<SignalSample>& samples);
