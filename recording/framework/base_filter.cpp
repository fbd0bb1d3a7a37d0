#include "recording/framework/base_filter.h"

#include <cwchar>
#include <new>

#include "recording/framework/base_pin.h"
#include "recording/framework/enum_pins.h"

CBaseFilter::CBaseFilter(IUnknown* outer, CCritSec* lock, REFCLSID clsid)
    : CUnknown(outer), m_pLock(lock), m_clsid(clsid) {}

CBaseFilter::~CBaseFilter() = default;

HRESULT CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IBaseFilter::IID || riid == IMediaFilter::IID || riid == IPersist::IID)
    return GetInterface(static_cast<IBaseFilter*>(this), ppv);
  if (riid == IAMovieSetup::IID) return GetInterface(static_cast<IAMovieSetup*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CBaseFilter::StreamTime(REFERENCE_TIME* time) {
  if (!time) return E_POINTER;
  ComPtr<IReferenceClock> clock;
  REFERENCE_TIME start;
  {
    CAutoLock lock(*m_pLock);
    clock = m_pClock;
    start = m_tStart;
  }
  if (!clock) return VFW_E_NO_CLOCK;
  const HRESULT hr = clock->GetTime(time);
  if (SUCCEEDED(hr)) *time -= start;
  return hr;
}

LONG CBaseFilter::GetPinVersion() { return m_PinVersion.load(); }

const void* CBaseFilter::GetSetupData() { return nullptr; }

HRESULT CBaseFilter::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = m_clsid;
  return S_OK;
}

HRESULT CBaseFilter::Stop() {
  CAutoLock lock(*m_pLock);
  HRESULT first = S_OK;
  if (State() != State_Stopped) {
    for (int i = 0; i < GetPinCount(); ++i) {
      CBasePin* pin = GetPin(i);
      if (!pin || !pin->IsConnected()) continue;
      const HRESULT hr = pin->Inactive();
      if (FAILED(hr) && SUCCEEDED(first)) first = hr;
    }
  }
  m_State = State_Stopped;
  return first;
}

HRESULT CBaseFilter::Pause() {
  CAutoLock lock(*m_pLock);
  if (State() == State_Stopped) {
    for (int i = 0; i < GetPinCount(); ++i) {
      CBasePin* pin = GetPin(i);
      if (!pin || !pin->IsConnected()) continue;
      const HRESULT hr = pin->Active();
      if (FAILED(hr)) return hr;
    }
  }
  m_State = State_Paused;
  return S_OK;
}

HRESULT CBaseFilter::Run(REFERENCE_TIME start) {
  CAutoLock lock(*m_pLock);
  m_tStart = start;
  if (State() == State_Stopped) {
    const HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  if (State() != State_Running) {
    for (int i = 0; i < GetPinCount(); ++i) {
      CBasePin* pin = GetPin(i);
      if (!pin || !pin->IsConnected()) continue;
      const HRESULT hr = pin->Run(start);
      if (FAILED(hr)) return hr;
    }
  }
  m_State = State_Running;
  return S_OK;
}

HRESULT CBaseFilter::GetState(DWORD, FILTER_STATE* state) {
  if (!state) return E_POINTER;
  *state = State();
  return S_OK;
}

HRESULT CBaseFilter::SetSyncSource(IReferenceClock* clock) {
  ComPtr<IReferenceClock> old;
  {
    CAutoLock lock(*m_pLock);
    old = std::exchange(m_pClock, ComPtr<IReferenceClock>(clock));
  }
  return S_OK;  // the old clock is released outside the lock
}

HRESULT CBaseFilter::GetSyncSource(IReferenceClock** clock) {
  if (!clock) return E_POINTER;
  CAutoLock lock(*m_pLock);
  *clock = ComPtr<IReferenceClock>(m_pClock).Detach();
  return S_OK;
}

HRESULT CBaseFilter::EnumPins(IEnumPins** pins) {
  if (!pins) return E_POINTER;
  *pins = new (std::nothrow) CEnumPins(this, nullptr);
  return *pins ? S_OK : E_OUTOFMEMORY;
}

HRESULT CBaseFilter::FindPin(LPCWSTR id, IPin** pin) {
  if (!id || !pin) return E_POINTER;
  CAutoLock lock(*m_pLock);
  for (int i = 0; i < GetPinCount(); ++i) {
    CBasePin* candidate = GetPin(i);
    if (candidate && std::wcscmp(candidate->Name().c_str(), id) == 0) {
      *pin = candidate;
      candidate->AddRef();
      return S_OK;
    }
  }
  *pin = nullptr;
  return VFW_E_NOT_FOUND;
}

HRESULT CBaseFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (!info) return E_POINTER;
  CAutoLock lock(*m_pLock);
  std::wcsncpy(info->achName, m_bHasName ? m_Name.c_str() : L"", MAX_FILTER_NAME - 1);
  info->achName[MAX_FILTER_NAME - 1] = L'\0';
  info->pGraph = m_pGraph;
  if (info->pGraph) info->pGraph->AddRef();
  return S_OK;
}

HRESULT CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  CAutoLock lock(*m_pLock);
  m_pGraph = graph;
  m_pSink = nullptr;
  if (graph) {
    // Kept without a reference: the graph outlives its filters' membership.
    IMediaEventSink* sink = nullptr;
    if (SUCCEEDED(graph->QueryInterface(IID_PPV_ARGS(&sink))) && sink) {
      m_pSink = sink;
      sink->Release();
    }
  }
  m_bHasName = name != nullptr;
  m_Name = name ? name : L"";
  return S_OK;
}

HRESULT CBaseFilter::QueryVendorInfo(LPWSTR*) { return E_NOTIMPL; }

HRESULT CBaseFilter::Register() { return GetSetupData() ? E_NOTIMPL : S_FALSE; }

HRESULT CBaseFilter::Unregister() { return GetSetupData() ? E_NOTIMPL : S_FALSE; }

IFilterGraph* CBaseFilter::Graph() {
  CAutoLock lock(*m_pLock);
  return m_pGraph;
}
