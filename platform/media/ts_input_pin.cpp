#include "platform/media/ts_input_pin.h"

#include "platform/media/pass_through_output_pin.h"
#include "platform/media/ts_media_type.h"

CTsInputPin::CTsInputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name) : CBaseInputPin(filter, lock, name) {}

HRESULT CTsInputPin::CheckMediaType(const AM_MEDIA_TYPE* mt) {
  return CheckByteStreamMediaType(mt);
}

HRESULT CTsInputPin::GetMediaType(int position, CMediaType* mt) {
  return GetTransportStreamMediaType(position, mt);
}

HRESULT CTsInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  const HRESULT hr = CBaseInputPin::NotifyAllocator(allocator, readOnly);
  if (SUCCEEDED(hr) && m_pForward) m_pForward->UpstreamAllocatorChanged();
  return hr;
}

HRESULT CTsInputPin::Receive(IMediaSample* sample) {
  HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  BYTE* data = nullptr;
  hr = sample->GetPointer(&data);
  if (FAILED(hr)) return hr;
  const LONG length = sample->GetActualDataLength();
  if (length < 0 || length > sample->GetSize()) return E_INVALIDARG;
  {
    std::lock_guard lock(m_countMutex);
    m_counter.Consume(data, static_cast<std::size_t>(length));
    m_packets.store(m_counter.TotalPackets(), std::memory_order_relaxed);
    m_continuityErrors.store(m_counter.ContinuityErrors(), std::memory_order_relaxed);
    m_syncLosses.store(m_counter.SyncLosses(), std::memory_order_relaxed);
  }
  if (m_pForward) m_pForward->Deliver(sample);  // not connected: nothing to do
  return S_OK;
}

HRESULT CTsInputPin::EndOfStream() {
  if (m_pForward) m_pForward->DeliverEndOfStream();
  return S_OK;
}

HRESULT CTsInputPin::Active() {
  std::lock_guard lock(m_countMutex);
  m_counter = TsPacketCounter();
  m_packets = 0;
  m_continuityErrors = 0;
  m_syncLosses = 0;
  return CBaseInputPin::Active();
}

TsStreamStatistics CTsInputPin::Statistics() const {
  return {m_packets.load(std::memory_order_relaxed), m_continuityErrors.load(std::memory_order_relaxed),
          m_syncLosses.load(std::memory_order_relaxed)};
}

TsPacketCounter CTsInputPin::Counts() {
  std::lock_guard lock(m_countMutex);
  return m_counter;
}
