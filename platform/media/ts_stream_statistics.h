// What a transport stream input has seen since its graph last started
// running: packets, continuity-counter errors and losses of sync. The
// demultiplexer answers it for its input, so a recording's health can be
// watched on the demultiplexer branch without touching the sink's path.
#pragma once

#include <cstdint>

#include "platform/com/unknown.h"

struct TsStreamStatistics {
  std::uint64_t packets = 0;
  std::uint64_t continuityErrors = 0;
  std::uint64_t syncLosses = 0;
};

struct ITsStreamStatistics : IUnknown {
  // {6F1C2B3A-4D5E-4A7B-9C8D-1E2F3A4B5C6D}
  static constexpr GUID IID{0x6F1C2B3A, 0x4D5E, 0x4A7B, {0x9C, 0x8D, 0x1E, 0x2F, 0x3A, 0x4B, 0x5C, 0x6D}};
  // Reads counters the streaming thread publishes; any thread, never waits
  // for that thread. E_POINTER on null.
  virtual HRESULT GetStreamStatistics(TsStreamStatistics* statistics) = 0;

 protected:
  ~ITsStreamStatistics() = default;
};
