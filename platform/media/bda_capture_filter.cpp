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

HRESULT CBdaCaptureFilter::Run(REFERENCE_TIME start) {
  const HRESULT hr = CBaseFilter::Run(start);
  if (FAILED(hr) || !m_output.IsConnected()) return hr;
  return StartDelivery();
}

HRESULT CBdaCaptureFilter::Pause() {
  StopDelivery();
  return CBaseFilter::Pause();
}

HRESULT CBdaCaptureFilter::Stop() {
  StopDelivery();
  return CBaseFilter::Stop();
}
