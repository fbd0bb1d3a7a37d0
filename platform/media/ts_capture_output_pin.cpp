#include "platform/media/ts_capture_output_pin.h"

#include "platform/media/ts_media_type.h"

CTsCaptureOutputPin::CTsCaptureOutputPin(CBaseFilter* filter, CCritSec* lock, int packetsPerSample, int sampleBuffers)
    : CBaseOutputPin(filter, lock, L"Output"), m_packetsPerSample(packetsPerSample), m_sampleBuffers(sampleBuffers) {}

HRESULT CTsCaptureOutputPin::CheckMediaType(const AM_MEDIA_TYPE* mt) {
  return CheckByteStreamMediaType(mt);
}

HRESULT CTsCaptureOutputPin::GetMediaType(int position, CMediaType* mt) {
  return GetTransportStreamMediaType(position, mt);
}

HRESULT CTsCaptureOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES*) {
  ALLOCATOR_PROPERTIES request{m_sampleBuffers, m_packetsPerSample * 188, 64, 0};
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(&request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= request.cbBuffer && actual.cBuffers >= 1 ? S_OK : E_FAIL;
}
