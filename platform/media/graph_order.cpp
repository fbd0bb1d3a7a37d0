#include "platform/media/graph_order.h"

#include <algorithm>

namespace {

// The object's identity, so that any face of a filter compares equal.
IUnknown* Identity(IUnknown* face) {
  IUnknown* identity = nullptr;
  if (FAILED(face->QueryInterface(IID_PPV_ARGS(&identity))) || !identity) return face;
  identity->Release();  // the object is held by the caller's list
  return identity;
}

// The filters that the outputs of filter feed.
std::vector<IUnknown*> DownstreamOf(IBaseFilter* filter) {
  std::vector<IUnknown*> result;
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.ReleaseAndGetAddressOf())) || !pins) return result;
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    ComPtr<IPin> held = ComPtr<IPin>::Attach(pin);
    PIN_DIRECTION direction;
    ComPtr<IPin> peer;
    if (FAILED(held->QueryDirection(&direction)) || direction != PINDIR_OUTPUT) continue;
    if (FAILED(held->ConnectedTo(peer.ReleaseAndGetAddressOf())) || !peer) continue;
    PIN_INFO info{};
    if (FAILED(peer->QueryPinInfo(&info)) || !info.pFilter) continue;
    result.push_back(Identity(info.pFilter));
    info.pFilter->Release();
  }
  return result;
}

}  // namespace

std::vector<ComPtr<IBaseFilter>> SortUpstreamFirst(const std::vector<ComPtr<IBaseFilter>>& filters) {
  const std::size_t n = filters.size();
  std::vector<IUnknown*> identity(n);
  for (std::size_t i = 0; i < n; ++i) identity[i] = Identity(filters[i].Get());

  std::vector<std::vector<std::size_t>> edges(n);
  std::vector<int> upstreamCount(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    for (IUnknown* target : DownstreamOf(filters[i].Get())) {
      const auto it = std::find(identity.begin(), identity.end(), target);
      if (it == identity.end()) continue;
      const auto j = static_cast<std::size_t>(it - identity.begin());
      edges[i].push_back(j);
      ++upstreamCount[j];
    }
  }

  std::vector<ComPtr<IBaseFilter>> order;
  std::vector<bool> placed(n, false);
  while (order.size() < n) {
    // The first filter in list order with nothing left upstream; on a cycle,
    // the first one not yet placed.
    std::size_t next = n;
    for (std::size_t i = 0; i < n && next == n; ++i)
      if (!placed[i] && upstreamCount[i] == 0) next = i;
    for (std::size_t i = 0; i < n && next == n; ++i)
      if (!placed[i]) next = i;
    placed[next] = true;
    order.push_back(filters[next]);
    for (std::size_t j : edges[next]) --upstreamCount[j];
  }
  return order;
}
