// Readings of the card for rx40ctl, made as the window's signal monitor
// makes them: the statistics under the driver mutex, which also publish the
// signal-locked flag "Start Record" checks, then the media information
// through QueryMediaInfo, whose failures show the window's boxes. Thread of
// the card session.
#pragma once

#include <cstdint>
#include <optional>

#include "cli/reading_text.h"
#include "cli/stop_request.h"
#include "tuner/signal_statistics.h"

// Lock, strength and quality; none when the statistics cannot be read.
std::optional<SignalReading> ReadSignal(SignalReadOutcome* outcome = nullptr);

// A whole reading; none when the statistics cannot be read.
std::optional<CardReading> ReadCard();

struct LockWait {
  bool locked = false;
  SignalReading last;         // the last reading made
  std::uint64_t elapsedMs = 0;  // by the clock, from the start of the wait
  bool unreadable = false;    // the statistics could not be read at the end
};

// Reads the signal every 100 ms (through the clock) until it locks, timeoutMs
// pass or a stop is asked for. A tuner that offers no statistics at all
// ends the wait at once.
LockWait WaitForLock(std::uint32_t timeoutMs, StopRequest& stop);
