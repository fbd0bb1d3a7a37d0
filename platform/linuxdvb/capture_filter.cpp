#include "platform/linuxdvb/capture_filter.h"

#include "platform/media/capture_input_pin.h"
#include "platform/media/ts_capture_output_pin.h"
#include "platform/ui/debug_output.h"
#include "platform/ui/message_box.h"

namespace linuxdvb {

CaptureFilter::CaptureFilter(std::shared_ptr<KernelCalls> calls, CaptureDevices devices)
    : CBaseFilter(nullptr, &m_lock, CLSID_LinuxDvbCaptureFilter),
      m_input(std::make_unique<CCaptureInputPin>(this, &m_lock)),
      m_output(std::make_unique<CTsCaptureOutputPin>(this, &m_lock, kCapturePacketsPerSample, kCaptureSampleBuffers)),
      m_reader(std::make_unique<DvrReader>(std::move(calls), std::move(devices), m_output.get())) {}

CaptureFilter::~CaptureFilter() { m_reader.reset(); }

HRESULT CaptureFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == ICaptureSourceStatus::IID) return GetInterface(static_cast<ICaptureSourceStatus*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CaptureFilter::GetPin(int n) {
  if (n == 0) return m_input.get();
  if (n == 1) return m_output.get();
  return nullptr;
}

HRESULT CaptureFilter::Run(REFERENCE_TIME start) {
  const HRESULT hr = CBaseFilter::Run(start);
  if (FAILED(hr) || !m_output->IsConnected()) return hr;
  std::string failure;
  const HRESULT started = m_reader->Start(&failure);
  if (FAILED(started)) {
    OutputDebugString(failure);
    AfxMessageBox(failure, MB_ICONERROR);
  }
  return started;
}

HRESULT CaptureFilter::Pause() {
  m_reader->Stop();  // outside the filter lock: the thread may be delivering
  return CBaseFilter::Pause();
}

HRESULT CaptureFilter::Stop() {
  m_reader->Stop();
  return CBaseFilter::Stop();
}

HRESULT CaptureFilter::GetCaptureStatus(CaptureSourceStatus* status) {
  if (!status) return E_POINTER;
  *status = m_reader->Status();
  return S_OK;
}

}  // namespace linuxdvb
