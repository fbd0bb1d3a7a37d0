// A real card's capture filter, found by the receive graph as the card's
// capture device. Its pins and their running are CBdaCaptureFilter's; its
// output delivers the adapter's whole transport stream from the DVR device
// (dvr_reader.h).
//
// Its source status: DVR buffer overflows and bytes read, and why capture
// stopped if it did. When running cannot start (the DVR device is held by
// another program, the demultiplexer refuses the whole-stream filter), Run
// fails with that status and the reason as the thread's error description
// (the page or rx40ctl shows it), and on the backend's log.
//
// Owns its reader, which stops before the pins go.
#pragma once

#include <memory>

#include "platform/linuxdvb/dvr_reader.h"
#include "platform/media/bda_capture_filter.h"
#include "platform/media/capture_source_status.h"

namespace linuxdvb {

// {5B8E2F17-6A3C-4D92-B07E-1C4F8A2D6E93}
inline constexpr CLSID CLSID_LinuxDvbCaptureFilter{0x5B8E2F17, 0x6A3C, 0x4D92, {0xB0, 0x7E, 0x1C, 0x4F, 0x8A, 0x2D, 0x6E, 0x93}};

// 348 packets (65 424 bytes) a sample, 32 samples in the pool.
inline constexpr int kCapturePacketsPerSample = 348;
inline constexpr int kCaptureSampleBuffers = 32;

class CaptureFilter final : public CBdaCaptureFilter {
 public:
  CaptureFilter(std::shared_ptr<KernelCalls> calls, CaptureDevices devices, std::size_t ringBytes);
  ~CaptureFilter() override;

 private:
  HRESULT StartReading() override;
  void StopReading() override;
  CaptureSourceStatus SourceStatus() override;

  const std::shared_ptr<KernelCalls> m_calls;  // for the log
  std::unique_ptr<DvrReader> m_reader;
};

}  // namespace linuxdvb
