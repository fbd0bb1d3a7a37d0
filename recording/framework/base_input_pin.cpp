#include "recording/framework/base_input_pin.h"

#include "platform/com/runtime.h"

CBaseInputPin::CBaseInputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name)
    : CBasePin(filter, lock, name, PINDIR_INPUT) {}

CBaseInputPin::~CBaseInputPin() = default;

HRESULT CBaseInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IMemInputPin::IID) return GetInterface(static_cast<IMemInputPin*>(this), ppv);
  return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CBaseInputPin::BreakConnect() {
  ComPtr<IMemAllocator> dropped;
  {
    CAutoLock lock(*m_pLock);
    if (m_pAllocator) {
      const HRESULT hr = m_pAllocator->Decommit();
      if (FAILED(hr)) return hr;
      dropped = std::move(m_pAllocator);
    }
  }
  return S_OK;
}

HRESULT CBaseInputPin::Inactive() {
  m_bRunTimeError = false;
  CAutoLock lock(*m_pLock);
  if (!m_pAllocator) return VFW_E_NO_ALLOCATOR;
  m_bFlushing = false;
  return m_pAllocator->Decommit();
}

HRESULT CBaseInputPin::CheckStreaming() {
  if (m_pFilter->IsStopped()) return VFW_E_WRONG_STATE;
  if (m_bFlushing) return S_FALSE;
  if (m_bRunTimeError) return VFW_E_RUNTIME_ERROR;
  return S_OK;
}

HRESULT CBaseInputPin::GetAllocator(IMemAllocator** allocator) {
  if (!allocator) return E_POINTER;
  CAutoLock lock(*m_pLock);
  if (!m_pAllocator) {
    const HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IMemAllocator::IID,
                                        reinterpret_cast<void**>(m_pAllocator.ReleaseAndGetAddressOf()));
    if (FAILED(hr)) {
      *allocator = nullptr;
      return hr;
    }
  }
  *allocator = ComPtr<IMemAllocator>(m_pAllocator).Detach();
  return S_OK;
}

HRESULT CBaseInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) {
  ComPtr<IMemAllocator> old;
  {
    CAutoLock lock(*m_pLock);
    old = std::exchange(m_pAllocator, ComPtr<IMemAllocator>(allocator));
    m_bReadOnly = readOnly != 0;
  }
  return S_OK;
}

HRESULT CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT CBaseInputPin::Receive(IMediaSample* sample) {
  if (!sample) return E_POINTER;
  return CheckStreaming();
}

HRESULT CBaseInputPin::ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) {
  if (!samples || !processed) return E_POINTER;
  *processed = 0;
  HRESULT hr = S_OK;
  while (count-- > 0) {
    hr = Receive(samples[*processed]);
    if (hr != S_OK) break;
    ++*processed;
  }
  return hr;
}

HRESULT CBaseInputPin::ReceiveCanBlock() { return S_OK; }

HRESULT CBaseInputPin::BeginFlush() {
  CAutoLock lock(*m_pLock);
  m_bFlushing = true;
  return S_OK;
}

HRESULT CBaseInputPin::EndFlush() {
  CAutoLock lock(*m_pLock);
  m_bFlushing = false;
  m_bRunTimeError = false;
  return S_OK;
}

HRESULT CBaseInputPin::Notify(IBaseFilter* sender, Quality) { return sender ? S_OK : E_POINTER; }

ComPtr<IMemAllocator> CBaseInputPin::Allocator() {
  CAutoLock lock(*m_pLock);
  return m_pAllocator;
}

bool CBaseInputPin::IsReadOnly() {
  CAutoLock lock(*m_pLock);
  return m_bReadOnly;
}
