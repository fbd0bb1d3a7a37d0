// Why a command that runs until told (a recording, status --watch, the
// wait for lock) must end early: SIGINT or SIGTERM, or a removal that
// closes the window (the card, a storage volume or a serial port). Its
// waits go through the clock and end early on a request. Any thread.
#pragma once

#include <atomic>

#include "platform/com/clock.h"

class StopRequest {
 public:
  enum class Reason { None, Interrupted, DeviceRemoved };

  // The first reason given stays.
  void Request(Reason reason) {
    Reason none = Reason::None;
    m_reason.compare_exchange_strong(none, reason);
    m_wake.Set();
  }
  Reason Why() const { return m_reason.load(); }
  bool Requested() const { return Why() != Reason::None; }
  // Sleeps ms through the clock, ending early on a request; true when one came.
  bool SleepUnlessStopped(std::uint32_t ms) { return SleepUnless(ms, m_wake); }

 private:
  std::atomic<Reason> m_reason{Reason::None};
  WakeSignal m_wake;
};
