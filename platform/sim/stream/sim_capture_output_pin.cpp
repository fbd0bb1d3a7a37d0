#include "platform/sim/stream/sim_capture_output_pin.h"

CSimCaptureOutputPin::CSimCaptureOutputPin(CBaseFilter* filter, CCritSec* lock, int packetsPerSample, int sampleBuffers)
    : CBaseOutputPin(filter, lock, L"Output"), m_packetsPerSample(packetsPerSample), m_sampleBuffers(sampleBuffers) {}

HRESULT CSimCaptureOutputPin::CheckMediaType(const AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  return mt->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}

HRESULT CSimCaptureOutputPin::GetMediaType(int position, CMediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt->Reset();
  mt->majortype = MEDIATYPE_Stream;
  mt->subtype = MEDIASUBTYPE_MPEG2_TRANSPORT;
  mt->lSampleSize = 188;
  return S_OK;
}

HRESULT CSimCaptureOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES*) {
  ALLOCATOR_PROPERTIES request{m_sampleBuffers, m_packetsPerSample * 188, 64, 0};
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(&request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= request.cbBuffer && actual.cBuffers >= 1 ? S_OK : E_FAIL;
}
