#include "platform/media/bda_capture_filter.h"

CBdaCaptureFilter::CBdaCaptureFilter(REFCLSID clsid, int packetsPerSample, int sampleBuffers)
    : CBaseFilter(nullptr, &m_lock, clsid),
      m_input(this, &m_lock),
      m_output(this, &m_lock, packetsPerSample, sampleBuffers) {}

CBdaCaptureFilter::~CBdaCaptureFilter() = default;

CBasePin* CBdaCaptureFilter::GetPin(int n) {
  if (n == 0) return &m_input;
  if (n == 1) return &m_output;
  return nullptr;
}

HRESULT CBdaCaptureFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == ICaptureSourceStatus::IID) return GetInterface(static_cast<ICaptureSourceStatus*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CBdaCaptureFilter::GetCaptureStatus(CaptureSourceStatus* status) {
  if (!status) return E_POINTER;
  *status = SourceStatus();
  m_delivery.AddRingStatus(status);
  return S_OK;
}

HRESULT CBdaCaptureFilter::Run(REFERENCE_TIME start) {
  const HRESULT hr = CBaseFilter::Run(start);
  if (FAILED(hr) || !m_output.IsConnected()) return hr;
  m_delivery.Start();
  const HRESULT started = StartReading();
  if (FAILED(started)) m_delivery.Stop();
  return started;
}

void CBdaCaptureFilter::StopDelivery() {
  m_delivery.WakeReader();
  StopReading();
  m_delivery.Stop();
}

HRESULT CBdaCaptureFilter::Pause() {
  StopDelivery();
  return CBaseFilter::Pause();
}

HRESULT CBdaCaptureFilter::Stop() {
  StopDelivery();
  return CBaseFilter::Stop();
}
