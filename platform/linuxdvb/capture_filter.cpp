#include "platform/linuxdvb/capture_filter.h"

#include "platform/ui/debug_output.h"
#include "platform/ui/message_box.h"

namespace linuxdvb {

CaptureFilter::CaptureFilter(std::shared_ptr<KernelCalls> calls, CaptureDevices devices)
    : CBdaCaptureFilter(CLSID_LinuxDvbCaptureFilter, kCapturePacketsPerSample, kCaptureSampleBuffers),
      m_reader(std::make_unique<DvrReader>(std::move(calls), std::move(devices), Output())) {}

CaptureFilter::~CaptureFilter() = default;

HRESULT CaptureFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == ICaptureSourceStatus::IID) return GetInterface(static_cast<ICaptureSourceStatus*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CaptureFilter::StartDelivery() {
  std::string failure;
  const HRESULT started = m_reader->Start(&failure);
  if (FAILED(started)) {
    OutputDebugString(failure);
    AfxMessageBox(failure, MB_ICONERROR);
  }
  return started;
}

void CaptureFilter::StopDelivery() { m_reader->Stop(); }

HRESULT CaptureFilter::GetCaptureStatus(CaptureSourceStatus* status) {
  if (!status) return E_POINTER;
  *status = m_reader->Status();
  return S_OK;
}

}  // namespace linuxdvb
