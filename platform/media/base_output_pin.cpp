#include "platform/media/base_output_pin.h"

#include "platform/com/runtime.h"

CBaseOutputPin::CBaseOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name)
    : CBasePin(filter, lock, name, PINDIR_OUTPUT) {}

CBaseOutputPin::~CBaseOutputPin() = default;

HRESULT CBaseOutputPin::CheckConnect(IPin* peer) {
  HRESULT hr = CBasePin::CheckConnect(peer);
  if (FAILED(hr)) return hr;
  ComPtr<IMemInputPin> input;
  hr = peer->QueryInterface(IID_PPV_ARGS(input.ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return E_NOINTERFACE;
  CAutoLock lock(*m_pLock);
  m_pInputPin = input;
  m_deliverTo = input.Get();
  return S_OK;
}

HRESULT CBaseOutputPin::CompleteConnect(IPin*) {
  ComPtr<IMemInputPin> input;
  {
    CAutoLock lock(*m_pLock);
    input = m_pInputPin;
  }
  if (!input) return E_UNEXPECTED;
  ComPtr<IMemAllocator> allocator;
  const HRESULT hr = DecideAllocator(input.Get(), &allocator);
  if (FAILED(hr)) return hr;
  SetAllocator(std::move(allocator));
  return S_OK;
}

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* input, ComPtr<IMemAllocator>* allocator) {
  ALLOCATOR_PROPERTIES request{};
  input->GetAllocatorRequirements(&request);  // a hint only; E_NOTIMPL is fine

  HRESULT hr = input->GetAllocator(allocator->ReleaseAndGetAddressOf());
  if (SUCCEEDED(hr)) {
    hr = DecideBufferSize(allocator->Get(), &request);
    if (SUCCEEDED(hr)) hr = input->NotifyAllocator(allocator->Get(), 0);
    if (SUCCEEDED(hr)) return S_OK;
  }
  hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IMemAllocator::IID,
                        reinterpret_cast<void**>(allocator->ReleaseAndGetAddressOf()));
  if (FAILED(hr)) return hr;
  hr = DecideBufferSize(allocator->Get(), &request);
  if (SUCCEEDED(hr)) hr = input->NotifyAllocator(allocator->Get(), 0);
  if (FAILED(hr)) *allocator = nullptr;
  return hr;
}

void CBaseOutputPin::SetAllocator(ComPtr<IMemAllocator> allocator) {
  CAutoLock lock(*m_pLock);
  m_deliverFrom = allocator.Get();
  std::swap(m_pAllocator, allocator);
}

ComPtr<IMemInputPin> CBaseOutputPin::InputPin() {
  CAutoLock lock(*m_pLock);
  return m_pInputPin;
}

HRESULT CBaseOutputPin::BreakConnect() {
  ComPtr<IMemAllocator> allocator;
  ComPtr<IMemInputPin> input;
  {
    CAutoLock lock(*m_pLock);
    if (m_pAllocator) {
      const HRESULT hr = m_pAllocator->Decommit();
      if (FAILED(hr)) return hr;
    }
    m_deliverFrom = nullptr;
    m_deliverTo = nullptr;
    allocator = std::move(m_pAllocator);
    input = std::move(m_pInputPin);
  }
  return S_OK;  // released outside the lock
}

HRESULT CBaseOutputPin::Active() {
  CAutoLock lock(*m_pLock);
  return m_pAllocator ? m_pAllocator->Commit() : VFW_E_NO_ALLOCATOR;
}

HRESULT CBaseOutputPin::Inactive() {
  m_bRunTimeError = false;
  CAutoLock lock(*m_pLock);
  return m_pAllocator ? m_pAllocator->Decommit() : VFW_E_NO_ALLOCATOR;
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample) {
  if (!sample) return E_POINTER;
  IMemAllocator* allocator = m_deliverFrom.load();
  if (!allocator) {
    *sample = nullptr;
    return VFW_E_NO_ALLOCATOR;
  }
  return allocator->GetBuffer(sample, nullptr, nullptr, 0);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample) {
  IMemInputPin* input = m_deliverTo.load();
  return input ? input->Receive(sample) : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndOfStream() {
  const ComPtr<IPin> peer = GetConnected();
  return peer ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverBeginFlush() {
  const ComPtr<IPin> peer = GetConnected();
  return peer ? peer->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndFlush() {
  const ComPtr<IPin> peer = GetConnected();
  return peer ? peer->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::EndOfStream() { return E_UNEXPECTED; }
HRESULT CBaseOutputPin::BeginFlush() { return E_UNEXPECTED; }
HRESULT CBaseOutputPin::EndFlush() { return E_UNEXPECTED; }
