#include "app/signal_smoothing.h"

#include <cmath>

SmoothedReading SignalSmoother::Add(const SignalSample& sample) {
  const SmoothedReading raw{sample.timeMs, static_cast<double>(sample.quality), static_cast<double>(sample.strength),
                            sample.marginDb};
  if (!m_last || sample.timeMs < m_last->timeMs || sample.timeMs - m_last->timeMs > SignalHistory::kGapMs) {
    m_last = raw;
    return raw;
  }
  const double elapsed = static_cast<double>(sample.timeMs - m_last->timeMs);
  const double weight = 1.0 - std::exp(-elapsed / static_cast<double>(m_timeConstantMs));
  auto toward = [weight](double from, double to) { return from + weight * (to - from); };
  SmoothedReading next{sample.timeMs, toward(m_last->quality, raw.quality), toward(m_last->strength, raw.strength),
                       std::nullopt};
  // A margin that comes back after readings without one starts afresh.
  if (raw.marginDb) next.marginDb = m_last->marginDb ? toward(*m_last->marginDb, *raw.marginDb) : *raw.marginDb;
  m_last = next;
  return next;
}

std::vector<SmoothedReading> Smooth(const std::deque<SignalSample>& samples) {
  SignalSmoother smoother;
  std::vector<SmoothedReading> smoothed;
  smoothed.reserve(samples.size());
  for (const auto& sample : samples) smoothed.push_back(smoother.Add(sample));
  return smoothed;
}
