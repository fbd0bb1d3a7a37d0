#include "recording/dump_input_pin.h"

#include "recording/dest_filter.h"

CDumpInputPin::CDumpInputPin(CDestFilter* filter, CCritSec* sinkLock) : CBaseInputPin(filter, sinkLock, L"Input") {}

HRESULT CDumpInputPin::CheckMediaType(const AM_MEDIA_TYPE*) { return S_OK; }

HRESULT CDumpInputPin::GetMediaType(int position, CMediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  if (!mt) return E_POINTER;
  mt->Reset();
  mt->majortype = MEDIATYPE_Stream;
  mt->subtype = GUID_NULL;
  mt->bFixedSizeSamples = 1;
  mt->bTemporalCompression = 0;
  mt->lSampleSize = 188;
  mt->formattype = GUID_NULL;
  return S_OK;
}

HRESULT CDumpInputPin::EndOfStream() {
  CAutoLock lock(*m_pLock);
  return S_OK;
}

HRESULT CDumpInputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return S_OK; }

HRESULT CDumpInputPin::Receive(IMediaSample* sample) {
  if (!m_bRecording) return S_OK;
  if (!sample) return E_POINTER;
  CAutoLock lock(*m_pLock);
  BYTE* data = nullptr;
  const HRESULT hr = sample->GetPointer(&data);
  if (FAILED(hr)) return hr;
  const LONG length = sample->GetActualDataLength();
  if (length < 0 || length > sample->GetSize() || (length > 0 && !data)) return E_INVALIDARG;
  if (m_pWriter) m_pWriter->AppendLocked(data, static_cast<std::size_t>(length));
  return S_OK;
}

HRESULT CDumpInputPin::ReceiveCanBlock() { return S_FALSE; }
