#include "cli/card_reading.h"

#include <mutex>

#include "platform/com/clock.h"
#include "positioner/dish_motion.h"
#include "tuner/matype_origin.h"
#include "tuner/tuner_context.h"
#include "tuner/tuner_extension.h"

namespace {

constexpr std::uint32_t kLockPollMs = 100;

// Keeps the report QueryMediaInfo decodes, as the panel shows it.
class MediaInfoCapture final : public MediaInfoDisplay {
 public:
  void ShowMediaInfo(const TUNER_MEDIA_INFO& info) override {
    // No symbol rate: the carrier was lost between the lock reading and the
    // report, which then describes nothing.
    if (info.SymbolRate != 0) m_info = info;
  }
  void ClearMediaInfo() override { m_info.reset(); }
  const std::optional<TUNER_MEDIA_INFO>& Info() const { return m_info; }

 private:
  std::optional<TUNER_MEDIA_INFO> m_info;
};

}  // namespace

std::optional<SignalReading> ReadSignal(SignalReadOutcome* outcome) {
  TunerContext& context = TheTunerContext();
  SignalReading reading;
  SignalReadOutcome read;
  {
    std::lock_guard driver(context.m_hDriverMutex);
    read = ReadSignalStatistics(context, &reading);
  }
  if (outcome) *outcome = read;
  SignalLockedFlag() = read == SignalReadOutcome::Read && reading.Locked() ? 1 : 0;
  if (read != SignalReadOutcome::Read) return std::nullopt;
  return reading;
}

std::optional<CardReading> ReadCard() {
  const std::optional<SignalReading> signal = ReadSignal();
  if (!signal) return std::nullopt;
  CardReading reading;
  reading.signal = *signal;
  MediaInfoCapture capture;
  if (QueryMediaInfo(nullptr, signal->Locked(), &capture) == MediaInfoResult::Done && capture.Info()) {
    reading.media = capture.Info();
    reading.matypeDerived = IsMatypeDerived();
  }
  reading.dish = ReadDishMotion();
  return reading;
}

LockWait WaitForLock(std::uint32_t timeoutMs, StopRequest& stop) {
  LockWait wait;
  const std::uint64_t start = TickCountMs();
  for (;;) {
    SignalReadOutcome outcome = SignalReadOutcome::Failed;
    const std::optional<SignalReading> reading = ReadSignal(&outcome);
    wait.elapsedMs = TickCountMs() - start;
    wait.unreadable = !reading;
    if (reading) {
      wait.last = *reading;
      wait.locked = reading->Locked();
    }
    if (wait.locked || outcome == SignalReadOutcome::NoTopology || wait.elapsedMs >= timeoutMs) return wait;
    if (stop.SleepUnlessStopped(kLockPollMs)) return wait;
  }
}
