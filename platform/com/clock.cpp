#include "platform/com/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class RealClock final : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  bool SleepMsUnless(std::uint32_t ms, WakeSignal& wake) override { return wake.WaitRealMs(ms); }
  std::uint64_t NowMs() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
};

std::shared_ptr<Clock>& Installed() {
  static std::shared_ptr<Clock> clock = SystemClock();
  return clock;
}

}  // namespace

void WakeSignal::Set() {
  {
    std::lock_guard lock(m_mutex);
    m_set = true;
  }
  m_changed.notify_all();
}

void WakeSignal::Reset() {
  std::lock_guard lock(m_mutex);
  m_set = false;
}

bool WakeSignal::IsSet() const {
  std::lock_guard lock(m_mutex);
  return m_set;
}

bool WakeSignal::WaitRealMs(std::uint32_t ms) {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_set; });
}

std::shared_ptr<Clock> SystemClock() {
  static auto clock = std::make_shared<RealClock>();
  return clock;
}

std::shared_ptr<Clock> SetClock(std::shared_ptr<Clock> clock) {
  auto previous = std::atomic_exchange(&Installed(), clock ? std::move(clock) : SystemClock());
  return previous;
}

Clock& CurrentClock() { return *std::atomic_load(&Installed()); }

void Sleep(std::uint32_t ms) { std::atomic_load(&Installed())->SleepMs(ms); }

bool SleepUnless(std::uint32_t ms, WakeSignal& wake) { return std::atomic_load(&Installed())->SleepMsUnless(ms, wake); }

std::uint64_t TickCountMs() { return std::atomic_load(&Installed())->NowMs(); }
