// A clock for tests: every wait returns at once and only moves virtual time,
// so the 1000 and 3000 ms waits of the program cost nothing; the waits are
// recorded so tests can check them.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/com/clock.h"

class InstantClock final : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override {
    {
      std::lock_guard lock(m_mutex);
      m_sleeps.push_back(ms);
    }
    m_now += ms;
    std::this_thread::yield();
  }
  std::uint64_t NowMs() override { return m_now.load(); }

  std::vector<std::uint32_t> Sleeps() const {
    std::lock_guard lock(m_mutex);
    return m_sleeps;
  }
  void ClearSleeps() {
    std::lock_guard lock(m_mutex);
    m_sleeps.clear();
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<std::uint32_t> m_sleeps;
  std::atomic<std::uint64_t> m_now{0};
};

// Installs an InstantClock for the life of the guard.
class ScopedInstantClock {
 public:
  ScopedInstantClock() : m_clock(std::make_shared<InstantClock>()), m_previous(SetClock(m_clock)) {}
  ~ScopedInstantClock() { SetClock(m_previous); }
  InstantClock& operator*() const { return *m_clock; }
  InstantClock* operator->() const { return m_clock.get(); }

 private:
  std::shared_ptr<InstantClock> m_clock;
  std::shared_ptr<Clock> m_previous;
};
