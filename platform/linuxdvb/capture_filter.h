// A real card's capture filter, found by the receive graph as the card's
// capture device: its input ("Input") takes the tuner's output; its output
// ("Output") delivers the adapter's whole transport stream from the DVR
// device (dvr_reader.h) while the filter runs. Stop (and Pause from running)
// returns only when the streaming thread has ended.
//
// Answers ICaptureSourceStatus: DVR buffer overflows and bytes read, and why
// capture stopped if it did. When running cannot start (the DVR device is
// held by another program, the demultiplexer refuses the whole-stream
// filter), Run fails with that status, and the reason goes to the debug
// output and, as Run is the UI thread's, to an application message box.
//
// Owns its pins and its reader; the reader stops before the pins go.
#pragma once

#include <memory>

#include "platform/linuxdvb/dvr_reader.h"
#include "platform/media/capture_source_status.h"
#include "recording/base_filter.h"

class CCaptureInputPin;
class CTsCaptureOutputPin;

namespace linuxdvb {

// {5B8E2F17-6A3C-4D92-B07E-1C4F8A2D6E93}
inline constexpr CLSID CLSID_LinuxDvbCaptureFilter{0x5B8E2F17, 0x6A3C, 0x4D92, {0xB0, 0x7E, 0x1C, 0x4F, 0x8A, 0x2D, 0x6E, 0x93}};

// 348 packets (65 424 bytes) a sample, 32 samples in the pool.
inline constexpr int kCapturePacketsPerSample = 348;
inline constexpr int kCaptureSampleBuffers = 32;

class CaptureFilter final : public CBaseFilter, public ICaptureSourceStatus {
 public:
  CaptureFilter(std::shared_ptr<KernelCalls> calls, CaptureDevices devices);
  ~CaptureFilter() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;
  HRESULT Run(REFERENCE_TIME start) override;
  HRESULT Pause() override;
  HRESULT Stop() override;

  HRESULT GetCaptureStatus(CaptureSourceStatus* status) override;

 private:
  CCritSec m_lock;
  std::unique_ptr<CCaptureInputPin> m_input;
  std::unique_ptr<CTsCaptureOutputPin> m_output;
  std::unique_ptr<DvrReader> m_reader;
};

}  // namespace linuxdvb
