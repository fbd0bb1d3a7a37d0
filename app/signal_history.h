// The last few minutes of signal readings, as the monitor took them: the
// trend an operator aligning a dish watches. Plain data; the owner decides
// on which thread it lives (the main window keeps it on the UI thread).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

struct SignalSample {
  std::uint64_t timeMs = 0;  // the clock's time of the reading
  int quality = 0;           // 0..255, as the strip shows it
  int strength = 0;          // 0..255
  bool locked = false;
  std::optional<double> marginDb;  // when the driver reports it
};

// A quality or strength as the strip's bars show it: the driver reports
// percent, and anything above 100 fills the bar.
inline int ReadingPercent(int reading) { return std::clamp(reading, 0, 100); }

class SignalHistory {
 public:
  // How far back the history reaches from its newest sample.
  static constexpr std::uint64_t kSpanMs = 5 * 60 * 1000;
  // Readings further apart than this are not joined: the monitor was held
  // up (a box open, a driver that did not answer).
  static constexpr std::uint64_t kGapMs = 5000;

  // Appends a reading and forgets those older than the span before it. A
  // reading older than the newest one is ignored.
  void Add(const SignalSample& sample);

  const std::deque<SignalSample>& Samples() const { return m_samples; }
  bool Empty() const { return m_samples.empty(); }
  const SignalSample& Newest() const { return m_samples.back(); }

  // The samples in runs without gaps, as [first, last) index pairs.
  std::vector<std::pair<std::size_t, std::size_t>> Runs() const;

 private:
  std::deque<SignalSample> m_samples;
};
