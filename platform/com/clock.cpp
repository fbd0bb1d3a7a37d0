#include "platform/com/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class RealClock final : public Clock {
 public:
  void SleepMs(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
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

std::uint64_t TickCountMs() { return std::atomic_load(&Installed())->NowMs(); }
