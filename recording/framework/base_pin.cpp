#include "recording/framework/base_pin.h"

#include <cwchar>
#include <new>

#include "platform/com/runtime.h"
#include "recording/framework/enum_media_types.h"

namespace {

// The refusals that a type search passes over in favour of a better reason.
bool IsPlainRefusal(HRESULT hr) { return hr == E_FAIL || hr == E_INVALIDARG || hr == VFW_E_TYPE_NOT_ACCEPTED; }

}  // namespace

CBasePin::CBasePin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name, PIN_DIRECTION direction)
    : CUnknown(nullptr), m_pLock(lock), m_pFilter(filter), m_pName(name ? name : L""), m_dir(direction) {}

CBasePin::~CBasePin() = default;

HRESULT CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IPin::IID) return GetInterface(static_cast<IPin*>(this), ppv);
  if (riid == IQualityControl::IID) return GetInterface(static_cast<IQualityControl*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

ULONG CBasePin::NonDelegatingAddRef() { return static_cast<IBaseFilter*>(m_pFilter)->AddRef(); }

ULONG CBasePin::NonDelegatingRelease() { return static_cast<IBaseFilter*>(m_pFilter)->Release(); }

LONG CBasePin::GetMediaTypeVersion() { return m_TypeVersion.load(); }

HRESULT CBasePin::Active() { return S_OK; }

HRESULT CBasePin::Inactive() {
  m_bRunTimeError = false;
  return S_OK;
}

HRESULT CBasePin::Run(REFERENCE_TIME) { return S_OK; }

HRESULT CBasePin::SetMediaType(const AM_MEDIA_TYPE* mt) {
  CAutoLock lock(*m_pLock);
  return SUCCEEDED(m_mt.Set(*mt)) ? S_OK : E_OUTOFMEMORY;
}

HRESULT CBasePin::CheckConnect(IPin* peer) {
  PIN_DIRECTION peerDirection;
  const HRESULT hr = peer->QueryDirection(&peerDirection);
  if (FAILED(hr)) return hr;
  return peerDirection == m_dir ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::BreakConnect() { return S_OK; }

HRESULT CBasePin::CompleteConnect(IPin*) { return S_OK; }

HRESULT CBasePin::GetMediaType(int, CMediaType*) { return E_UNEXPECTED; }

HRESULT CBasePin::BeginConnection(bool hasPeer) {
  if (!hasPeer) return E_POINTER;
  CAutoLock lock(*m_pLock);
  if (m_Connected || m_bConnecting) return VFW_E_ALREADY_CONNECTED;
  if (!m_pFilter->IsStopped() && !m_bCanReconnectWhenActive) return VFW_E_NOT_STOPPED;
  m_bConnecting = true;
  return S_OK;
}

void CBasePin::EndConnection(IPin* connectedTo) {
  ComPtr<IPin> dropped;
  {
    CAutoLock lock(*m_pLock);
    if (!connectedTo) dropped = std::move(m_Connected);
    m_bConnecting = false;
  }
}

HRESULT CBasePin::CheckTypeForConnection(const AM_MEDIA_TYPE* mt) {
  const HRESULT hr = CheckMediaType(mt);
  if (hr == S_OK) return S_OK;
  if (SUCCEEDED(hr) || hr == E_FAIL || hr == E_INVALIDARG) return VFW_E_TYPE_NOT_ACCEPTED;
  return hr;
}

HRESULT CBasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) {
  HRESULT hr = BeginConnection(receivePin != nullptr);
  if (FAILED(hr)) return hr;
  hr = AgreeMediaType(receivePin, mt);
  if (FAILED(hr)) {
    BreakConnect();
    EndConnection(nullptr);
    return hr;
  }
  EndConnection(receivePin);
  return S_OK;
}

HRESULT CBasePin::AgreeMediaType(IPin* peer, const AM_MEDIA_TYPE* mt) {
  if (mt && !IsPartiallySpecified(*mt)) return AttemptConnection(peer, mt);

  HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
  for (int round = 0; round < 2; ++round) {
    const bool mine = (round == 0) == m_bTryMyTypesFirst;
    ComPtr<IEnumMediaTypes> types;
    const HRESULT got = mine ? EnumMediaTypes(types.ReleaseAndGetAddressOf())
                             : peer->EnumMediaTypes(types.ReleaseAndGetAddressOf());
    if (FAILED(got) || !types) continue;
    const HRESULT hr = TryMediaTypes(peer, mt, types.Get());
    if (SUCCEEDED(hr)) return S_OK;
    if (!IsPlainRefusal(hr)) failure = hr;
  }
  return failure;
}

HRESULT CBasePin::TryMediaTypes(IPin* peer, const AM_MEDIA_TYPE* partial, IEnumMediaTypes* types) {
  HRESULT hr = types->Reset();
  if (FAILED(hr)) return hr;
  HRESULT failure = S_OK;
  for (;;) {
    AM_MEDIA_TYPE* candidate = nullptr;
    ULONG fetched = 0;
    if (types->Next(1, &candidate, &fetched) != S_OK || fetched != 1 || !candidate) break;
    if (!partial || MatchesPartial(*candidate, *partial)) {
      hr = AttemptConnection(peer, candidate);
      if (SUCCEEDED(hr)) {
        DeleteMediaType(candidate);
        return S_OK;
      }
      if (SUCCEEDED(failure) && !IsPlainRefusal(hr)) failure = hr;
    }
    DeleteMediaType(candidate);
  }
  return SUCCEEDED(failure) ? VFW_E_NO_ACCEPTABLE_TYPES : failure;
}

HRESULT CBasePin::AttemptConnection(IPin* peer, const AM_MEDIA_TYPE* mt) {
  HRESULT hr = CheckConnect(peer);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  hr = CheckTypeForConnection(mt);
  if (hr != S_OK) {
    BreakConnect();
    return hr;
  }
  {
    CAutoLock lock(*m_pLock);
    m_Connected = ComPtr<IPin>(peer);
  }
  hr = SetMediaType(mt);
  if (SUCCEEDED(hr)) hr = peer->ReceiveConnection(static_cast<IPin*>(this), mt);
  if (SUCCEEDED(hr)) {
    hr = CompleteConnect(peer);
    if (FAILED(hr)) peer->Disconnect();
  }
  if (FAILED(hr)) {
    ComPtr<IPin> dropped;
    {
      CAutoLock lock(*m_pLock);
      dropped = std::move(m_Connected);
    }
    BreakConnect();
    return hr;
  }
  return S_OK;
}

HRESULT CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) {
  HRESULT hr = BeginConnection(connector != nullptr && mt != nullptr);
  if (FAILED(hr)) return hr;
  hr = CheckConnect(connector);
  if (SUCCEEDED(hr)) hr = CheckTypeForConnection(mt);  // S_OK or a refusal
  if (SUCCEEDED(hr)) {
    {
      CAutoLock lock(*m_pLock);
      m_Connected = ComPtr<IPin>(connector);
    }
    hr = SetMediaType(mt);
    if (SUCCEEDED(hr)) hr = CompleteConnect(connector);
  }
  if (FAILED(hr)) {
    BreakConnect();
    EndConnection(nullptr);
    return hr;
  }
  EndConnection(connector);
  return S_OK;
}

HRESULT CBasePin::Disconnect() {
  ComPtr<IPin> dropped;
  {
    CAutoLock lock(*m_pLock);
    if (!m_pFilter->IsStopped()) return VFW_E_NOT_STOPPED;
    if (m_bConnecting) return VFW_E_WRONG_STATE;
    if (!m_Connected) return S_FALSE;
    const HRESULT hr = BreakConnect();
    if (FAILED(hr)) return hr;
    dropped = std::move(m_Connected);
  }
  return S_OK;
}

HRESULT CBasePin::ConnectedTo(IPin** pin) {
  if (!pin) return E_POINTER;
  CAutoLock lock(*m_pLock);
  *pin = m_Connected.Get();
  if (!*pin) return VFW_E_NOT_CONNECTED;
  (*pin)->AddRef();
  return S_OK;
}

HRESULT CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  CAutoLock lock(*m_pLock);
  if (!m_Connected) {
    InitMediaType(mt);
    return VFW_E_NOT_CONNECTED;
  }
  return SUCCEEDED(CopyMediaType(mt, &m_mt)) ? S_OK : E_OUTOFMEMORY;
}

HRESULT CBasePin::QueryPinInfo(PIN_INFO* info) {
  if (!info) return E_POINTER;
  info->pFilter = m_pFilter;
  static_cast<IBaseFilter*>(m_pFilter)->AddRef();
  std::wcsncpy(info->achName, m_pName.c_str(), MAX_PIN_NAME - 1);
  info->achName[MAX_PIN_NAME - 1] = L'\0';
  info->dir = m_dir;
  return S_OK;
}

HRESULT CBasePin::QueryDirection(PIN_DIRECTION* dir) {
  if (!dir) return E_POINTER;
  *dir = m_dir;
  return S_OK;
}

HRESULT CBasePin::QueryId(LPWSTR* id) {
  if (!id) return E_POINTER;
  const std::size_t bytes = (m_pName.size() + 1) * sizeof(wchar_t);
  *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*id) return E_OUTOFMEMORY;
  std::wmemcpy(*id, m_pName.c_str(), m_pName.size() + 1);
  return S_OK;
}

HRESULT CBasePin::QueryAccept(const AM_MEDIA_TYPE* mt) {
  const HRESULT hr = CheckMediaType(mt);
  return FAILED(hr) ? S_FALSE : hr;
}

HRESULT CBasePin::EnumMediaTypes(IEnumMediaTypes** types) {
  if (!types) return E_POINTER;
  *types = new (std::nothrow) CEnumMediaTypes(this, nullptr);
  return *types ? S_OK : E_OUTOFMEMORY;
}

HRESULT CBasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

HRESULT CBasePin::EndOfStream() { return S_OK; }

HRESULT CBasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  CAutoLock lock(*m_pLock);
  m_tStart = start;
  m_tStop = stop;
  m_dRate = rate;
  return S_OK;
}

HRESULT CBasePin::Notify(IBaseFilter*, Quality) { return E_NOTIMPL; }

HRESULT CBasePin::SetSink(IQualityControl* sink) {
  CAutoLock lock(*m_pLock);
  m_pQSink = sink;
  return S_OK;
}

bool CBasePin::IsConnected() {
  CAutoLock lock(*m_pLock);
  return m_Connected != nullptr;
}

ComPtr<IPin> CBasePin::GetConnected() {
  CAutoLock lock(*m_pLock);
  return m_Connected;
}
