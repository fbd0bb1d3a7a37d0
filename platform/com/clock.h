// The one clock every wait in the program goes through, so that tests can
// run the long start-up and retry waits instantly.
#pragma once

#include <cstdint>
#include <memory>

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void SleepMs(std::uint32_t ms) = 0;
  virtual std::uint64_t NowMs() = 0;
};

// The real clock: sleeps the calling thread.
std::shared_ptr<Clock> SystemClock();

// Installs the clock used by Sleep(); returns the one it replaces.
std::shared_ptr<Clock> SetClock(std::shared_ptr<Clock> clock);
Clock& CurrentClock();

// The platform's Sleep, through the current clock.
void Sleep(std::uint32_t ms);
std::uint64_t TickCountMs();
