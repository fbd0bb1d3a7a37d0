// The Capture Control page's limit rules, shared with rx40ctl: a recording
// is limited by its file's size in MB or by a time in seconds, and the
// record timer checks the limit every 100 ms. The time limit counts the
// timer's ticks, ten to the second, not the wall clock. The recording stops
// at the first tick that reaches 100 percent; the file then holds whole
// samples, so it may pass the size limit by part of one.
#pragma once

#include <cstdint>
#include <string>

struct LimitRange {
  std::uint32_t low;
  std::uint32_t high;
  bool Contains(std::uint64_t value) const { return value >= low && value <= high; }
};

inline constexpr LimitRange kTimeLimitSeconds{1, 65535};
inline constexpr LimitRange kSizeLimitMB{50, 800000};
inline constexpr std::uint32_t kRecordTickMs = 100;

enum class LimitMode { FileSize, Time };

// What one tick found.
struct LimitTick {
  std::uint64_t percent = 0;
  std::uint32_t kbytes = 0;       // FileSize: the file's length in whole KB
  std::uint32_t secondsLeft = 0;  // Time
  std::string line;               // "N KBytes" or "N Seconds", as the page shows it
  bool Reached() const { return percent >= 100; }
};

// The tick count of one recording. Not thread-safe: the recording's own
// thread (the page's UI thread) only.
class RecordLimit {
 public:
  // At the start of a recording and at every stop.
  void Restart() { m_ticks = 0; }
  // One tick with the mode and limits in force at this tick (both may
  // change during a recording). The size is asked of the recording state;
  // only time-limit ticks are counted. Limits are at least 1.
  LimitTick Tick(LimitMode mode, std::uint32_t sizeLimitMB, std::uint32_t timeLimitSeconds);
  std::uint32_t Ticks() const { return m_ticks; }

 private:
  std::uint32_t m_ticks = 0;
};
