// The one clock every wait in the program goes through, so that tests can
// run the long start-up and retry waits instantly.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

// A flag that cuts a waiting thread's sleep short (a thread's stop request).
class WakeSignal {
 public:
  void Set();
  void Reset();
  bool IsSet() const;
  // Waits up to ms of real time; true when the signal is set.
  bool WaitRealMs(std::uint32_t ms);

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_set = false;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void SleepMs(std::uint32_t ms) = 0;
  virtual std::uint64_t NowMs() = 0;
  // Sleeps up to ms, ending early once wake is set; true when it was set.
  // A clock that does not really wait sleeps ms whole.
  virtual bool SleepMsUnless(std::uint32_t ms, WakeSignal& wake) {
    if (wake.IsSet()) return true;
    SleepMs(ms);
    return wake.IsSet();
  }
};

// The real clock: sleeps the calling thread.
std::shared_ptr<Clock> SystemClock();

// Installs the clock used by Sleep(); returns the one it replaces.
std::shared_ptr<Clock> SetClock(std::shared_ptr<Clock> clock);
Clock& CurrentClock();

// The platform's Sleep, through the current clock.
void Sleep(std::uint32_t ms);
// Sleep that ends early once wake is set; true when it was set.
bool SleepUnless(std::uint32_t ms, WakeSignal& wake);
std::uint64_t TickCountMs();
