// What a card's capture filter can say about its source beside the samples
// it delivers: how often the device's own buffer overflowed (each time the
// data in it was lost before the filter could read it), how full its ring
// came and whether it overflowed too (capture_delivery.h), and why the
// source stopped delivering, if it did. Callers ask for it with
// QueryInterface on the capture filter and do without it when it is refused.
#pragma once

#include <cstdint>
#include <string>

#include "platform/com/unknown.h"

struct CaptureSourceStatus {
  std::uint64_t overflows = 0;  // the device's, since the filter was made
  std::uint64_t bytesRead = 0;  // since the filter was made
  std::string fault;            // empty while the source delivers or is stopped normally
  // The ring of the current (or last) run; all zero without one.
  std::uint64_t ringCapacityBytes = 0;
  std::uint64_t ringHighWaterBytes = 0;
  std::uint64_t ringOverflows = 0;
  std::uint64_t ringLostBytes = 0;

  // Every loss of data, the device's and the ring's.
  std::uint64_t AllOverflows() const { return overflows + ringOverflows; }
};

struct ICaptureSourceStatus : IUnknown {
  // {8B2F4C61-3E7A-4D95-A0C8-5F1E2D3C4B7A}
  static constexpr GUID IID{0x8B2F4C61, 0x3E7A, 0x4D95, {0xA0, 0xC8, 0x5F, 0x1E, 0x2D, 0x3C, 0x4B, 0x7A}};
  using Base = IUnknown;
  // Reads counters the streaming thread publishes; any thread, never waits
  // for that thread. E_POINTER on null.
  virtual HRESULT GetCaptureStatus(CaptureSourceStatus* status) = 0;
};
