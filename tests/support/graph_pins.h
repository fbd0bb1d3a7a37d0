// Connecting two filters in a test graph by their first free pins, as the
// application's graph construction does without names.
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/media/media_interfaces.h"

// The first unconnected pin of the direction, or null.
inline ComPtr<IPin> FreePin(IBaseFilter* filter, PIN_DIRECTION wanted) {
  ComPtr<IEnumPins> pins;
  filter->EnumPins(pins.ReleaseAndGetAddressOf());
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    ComPtr<IPin> held = ComPtr<IPin>::Attach(pin);
    PIN_DIRECTION direction;
    ComPtr<IPin> peer;
    held->QueryDirection(&direction);
    if (direction == wanted && FAILED(held->ConnectedTo(peer.ReleaseAndGetAddressOf()))) return held;
  }
  return nullptr;
}

// Connects the first free output of `from` to the first free input of `to`
// through the graph; VFW_E_NOT_FOUND when either has none.
inline HRESULT ConnectFreePins(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to) {
  const ComPtr<IPin> out = FreePin(from, PINDIR_OUTPUT);
  const ComPtr<IPin> in = FreePin(to, PINDIR_INPUT);
  if (!out || !in) return VFW_E_NOT_FOUND;
  return graph->Connect(out.Get(), in.Get());
}
