#include "recording/record_limit.h"

#include "recording/capture_progress.h"
#include "recording/recording_state.h"

LimitTick RecordLimit::Tick(LimitMode mode, std::uint32_t sizeLimitMB, std::uint32_t timeLimitSeconds) {
  LimitTick tick;
  if (mode == LimitMode::FileSize) {
    tick.kbytes = RecordedKBytes();
    tick.percent = SizeLimitPercent(tick.kbytes, sizeLimitMB);
    tick.line = KBytesLine(tick.kbytes);
  } else {
    ++m_ticks;
    tick.percent = TimeLimitPercent(m_ticks, timeLimitSeconds);
    tick.secondsLeft = SecondsLeft(m_ticks, timeLimitSeconds);
    tick.line = SecondsLine(tick.secondsLeft);
  }
  return tick;
}
