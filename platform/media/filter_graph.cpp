#include "platform/media/filter_graph.h"

#include <algorithm>
#include <cstdio>

#include "platform/media/enum_filters.h"
#include "platform/media/graph_order.h"
#include "platform/media/media_status.h"

namespace {

IUnknown* Identity(IUnknown* face) {
  IUnknown* identity = nullptr;
  if (FAILED(face->QueryInterface(IID_PPV_ARGS(&identity))) || !identity) return face;
  identity->Release();
  return identity;
}

// Breaks every connection of the filter's pins, at both ends.
void DisconnectPins(IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.ReleaseAndGetAddressOf())) || !pins) return;
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    ComPtr<IPin> held = ComPtr<IPin>::Attach(pin);
    ComPtr<IPin> peer;
    if (SUCCEEDED(held->ConnectedTo(peer.ReleaseAndGetAddressOf())) && peer) peer->Disconnect();
    held->Disconnect();
  }
}

}  // namespace

CFilterGraph::CFilterGraph() = default;

CFilterGraph::~CFilterGraph() {
  std::lock_guard lock(m_operation);
  StopLocked();
  while (!m_filters.empty()) RemoveLocked(m_filters.end() - 1);
}

std::vector<ComPtr<IBaseFilter>> CFilterGraph::FiltersLocked() const {
  std::vector<ComPtr<IBaseFilter>> filters;
  for (const Entry& entry : m_filters) filters.push_back(entry.filter);
  return filters;
}

std::vector<CFilterGraph::Entry>::iterator CFilterGraph::FindLocked(IBaseFilter* filter) {
  IUnknown* identity = Identity(filter);
  return std::find_if(m_filters.begin(), m_filters.end(),
                      [identity](const Entry& entry) { return Identity(entry.filter.Get()) == identity; });
}

bool CFilterGraph::ContainsPinFilterLocked(IPin* pin) {
  PIN_INFO info{};
  if (FAILED(pin->QueryPinInfo(&info)) || !info.pFilter) return false;
  const bool found = FindLocked(info.pFilter) != m_filters.end();
  info.pFilter->Release();
  return found;
}

std::wstring CFilterGraph::UniqueNameLocked(LPCWSTR name) const {
  const auto taken = [this](const std::wstring& candidate) {
    return std::any_of(m_filters.begin(), m_filters.end(), [&](const Entry& e) { return e.name == candidate; });
  };
  const std::wstring base = name ? name : L"";
  if (!base.empty() && !taken(base)) return base;
  for (int n = 1;; ++n) {
    wchar_t suffix[16];
    std::swprintf(suffix, 16, L"%04d", n);
    const std::wstring candidate = base.empty() ? std::wstring(suffix) : base + L" " + suffix;
    if (!taken(candidate)) return candidate;
  }
}

HRESULT CFilterGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
  if (!filter) return E_POINTER;
  std::lock_guard lock(m_operation);
  if (FindLocked(filter) != m_filters.end()) return E_INVALIDARG;
  Entry entry{ComPtr<IBaseFilter>(filter), UniqueNameLocked(name)};
  const HRESULT hr = filter->JoinFilterGraph(this, entry.name.c_str());
  if (FAILED(hr)) return hr;
  m_filters.push_back(std::move(entry));
  return S_OK;
}

HRESULT CFilterGraph::RemoveFilter(IBaseFilter* filter) {
  if (!filter) return E_POINTER;
  std::lock_guard lock(m_operation);
  const auto entry = FindLocked(filter);
  if (entry == m_filters.end()) return VFW_E_NOT_FOUND;
  return RemoveLocked(entry);
}

HRESULT CFilterGraph::RemoveLocked(std::vector<Entry>::iterator entry) {
  const ComPtr<IBaseFilter> filter = entry->filter;
  m_filters.erase(entry);
  FILTER_STATE state = State_Stopped;
  filter->GetState(0, &state);
  if (state != State_Stopped) filter->Stop();
  DisconnectPins(filter.Get());
  filter->JoinFilterGraph(nullptr, nullptr);
  return S_OK;
}

HRESULT CFilterGraph::EnumFilters(IEnumFilters** filters) {
  if (!filters) return E_POINTER;
  std::lock_guard lock(m_operation);
  *filters = MakeComObject<CEnumFilters>(FiltersLocked(), 0).Detach();
  return S_OK;
}

HRESULT CFilterGraph::FindFilterByName(LPCWSTR name, IBaseFilter** filter) {
  if (!name || !filter) return E_POINTER;
  std::lock_guard lock(m_operation);
  for (const Entry& entry : m_filters) {
    if (entry.name == name) {
      *filter = ComPtr<IBaseFilter>(entry.filter).Detach();
      return S_OK;
    }
  }
  *filter = nullptr;
  return VFW_E_NOT_FOUND;
}

HRESULT CFilterGraph::ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) {
  if (!out || !in) return E_POINTER;
  std::lock_guard lock(m_operation);
  if (!ContainsPinFilterLocked(out) || !ContainsPinFilterLocked(in)) return VFW_E_NOT_IN_GRAPH;
  PIN_DIRECTION direction;
  if (FAILED(out->QueryDirection(&direction)) || direction != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
  return out->Connect(in, mt);
}

HRESULT CFilterGraph::Connect(IPin* out, IPin* in) { return ConnectDirect(out, in, nullptr); }

HRESULT CFilterGraph::Disconnect(IPin* pin) {
  if (!pin) return E_POINTER;
  std::lock_guard lock(m_operation);
  return pin->Disconnect();
}

HRESULT CFilterGraph::ChangeStateLocked(FILTER_STATE target) {
  std::vector<ComPtr<IBaseFilter>> order = SortUpstreamFirst(FiltersLocked());
  std::reverse(order.begin(), order.end());  // sinks first
  for (const ComPtr<IBaseFilter>& filter : order) {
    const HRESULT hr = target == State_Running ? filter->Run(0) : filter->Pause();
    if (FAILED(hr)) {
      StopLocked();
      return hr;
    }
  }
  m_state = target;
  return S_OK;
}

HRESULT CFilterGraph::Run() {
  std::lock_guard lock(m_operation);
  if (m_state == State_Running) return S_OK;
  return ChangeStateLocked(State_Running);
}

HRESULT CFilterGraph::Pause() {
  std::lock_guard lock(m_operation);
  if (m_state == State_Paused) return S_OK;
  return ChangeStateLocked(State_Paused);
}

HRESULT CFilterGraph::Stop() {
  std::lock_guard lock(m_operation);
  return StopLocked();
}

HRESULT CFilterGraph::StopLocked() {
  HRESULT first = S_OK;
  for (const ComPtr<IBaseFilter>& filter : SortUpstreamFirst(FiltersLocked())) {
    const HRESULT hr = filter->Stop();
    if (FAILED(hr) && SUCCEEDED(first)) first = hr;
  }
  m_state = State_Stopped;
  return first;
}

HRESULT CFilterGraph::GetState(LONG, OAFilterState* state) {
  if (!state) return E_POINTER;
  std::lock_guard lock(m_operation);
  *state = m_state;
  return S_OK;
}
