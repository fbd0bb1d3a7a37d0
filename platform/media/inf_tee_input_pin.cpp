#include "platform/media/inf_tee_input_pin.h"

#include "platform/media/inf_tee_filter.h"

CInfTeeInputPin::CInfTeeInputPin(CInfTeeFilter* tee, CCritSec* lock) : CBaseInputPin(tee, lock, L"Input"), m_pTee(tee) {}

HRESULT CInfTeeInputPin::CheckMediaType(const AM_MEDIA_TYPE* mt) { return mt ? S_OK : E_POINTER; }

HRESULT CInfTeeInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  const HRESULT hr = CBaseInputPin::NotifyAllocator(allocator, readOnly);
  if (SUCCEEDED(hr)) m_pTee->UpstreamAllocatorChanged();
  return hr;
}

HRESULT CInfTeeInputPin::Receive(IMediaSample* sample) {
  const HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  m_pTee->DeliverToOutputs(sample);
  return S_OK;
}

HRESULT CInfTeeInputPin::EndOfStream() {
  const HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
  m_pTee->DeliverEndOfStream();
  return S_OK;
}

HRESULT CInfTeeInputPin::BeginFlush() {
  CBaseInputPin::BeginFlush();
  m_pTee->DeliverBeginFlush();
  return S_OK;
}

HRESULT CInfTeeInputPin::EndFlush() {
  m_pTee->DeliverEndFlush();
  return CBaseInputPin::EndFlush();
}
