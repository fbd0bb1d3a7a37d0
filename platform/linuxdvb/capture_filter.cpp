#include "platform/linuxdvb/capture_filter.h"

#include "platform/com/error_info.h"

namespace linuxdvb {

CaptureFilter::CaptureFilter(std::shared_ptr<KernelCalls> calls, CaptureDevices devices, std::size_t ringBytes)
    : CBdaCaptureFilter(CLSID_LinuxDvbCaptureFilter, kCapturePacketsPerSample, kCaptureSampleBuffers),
      m_calls(calls),
      m_reader(std::make_unique<DvrReader>(std::move(calls), std::move(devices), Delivery())) {
  SetRingBytes(ringBytes);
}

CaptureFilter::~CaptureFilter() {
  // The reader goes before the delivery it feeds.
  m_reader->Stop();
}

HRESULT CaptureFilter::StartReading() {
  std::string failure;
  const HRESULT started = m_reader->Start(&failure);
  if (FAILED(started)) {
    m_calls->Log(failure);
    SetErrorDescription(failure);
  }
  return started;
}

void CaptureFilter::StopReading() { m_reader->Stop(); }

CaptureSourceStatus CaptureFilter::SourceStatus() { return m_reader->Status(); }

}  // namespace linuxdvb
