#include "app/signal_history.h"

void SignalHistory::Add(const SignalSample& sample) {
  if (!m_samples.empty() && sample.timeMs < m_samples.back().timeMs) return;
  m_samples.push_back(sample);
  while (sample.timeMs - m_samples.front().timeMs > kSpanMs) m_samples.pop_front();
}

std::vector<std::pair<std::size_t, std::size_t>> SignalHistory::Runs() const {
  std::vector<std::pair<std::size_t, std::size_t>> runs;
  std::size_t first = 0;
  for (std::size_t i = 1; i <= m_samples.size(); ++i) {
    if (i == m_samples.size() || m_samples[i].timeMs - m_samples[i - 1].timeMs > kGapMs) {
      if (i > first) runs.emplace_back(first, i);
      first = i;
    }
  }
  return runs;
}
