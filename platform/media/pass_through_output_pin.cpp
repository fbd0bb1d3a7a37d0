#include "platform/media/pass_through_output_pin.h"

CPassThroughOutputPin::CPassThroughOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name,
                                             CBaseInputPin* source, std::function<void()> onConnected)
    : CBaseOutputPin(filter, lock, name), m_pSource(source), m_onConnected(std::move(onConnected)) {}

HRESULT CPassThroughOutputPin::CheckMediaType(const AM_MEDIA_TYPE* mt) { return mt ? S_OK : E_POINTER; }

HRESULT CPassThroughOutputPin::GetMediaType(int position, CMediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  CMediaType upstream;
  if (SUCCEEDED(m_pSource->ConnectionMediaType(&upstream))) return mt->Set(upstream);
  mt->Reset();
  mt->majortype = MEDIATYPE_Stream;
  mt->subtype = MEDIASUBTYPE_MPEG2_TRANSPORT;
  mt->lSampleSize = 188;
  return S_OK;
}

HRESULT CPassThroughOutputPin::CompleteConnect(IPin*) {
  const HRESULT hr = UpstreamAllocatorChanged();
  if (FAILED(hr)) return hr;
  if (m_onConnected) m_onConnected();
  return S_OK;
}

HRESULT CPassThroughOutputPin::UpstreamAllocatorChanged() {
  const ComPtr<IMemInputPin> input = InputPin();
  const ComPtr<IMemAllocator> allocator = m_pSource->Allocator();
  if (!input || !allocator) return S_OK;  // told again once both exist
  return input->NotifyAllocator(allocator.Get(), 1);
}

HRESULT CPassThroughOutputPin::Active() { return S_OK; }

HRESULT CPassThroughOutputPin::Inactive() { return CBasePin::Inactive(); }

HRESULT CPassThroughOutputPin::DecideBufferSize(IMemAllocator*, ALLOCATOR_PROPERTIES*) {
  return S_OK;  // the sizes are the source allocator's
}
