#include "tuner/bda_graph.h"

#include <string>

#include "platform/ui/message_box.h"

namespace {

std::string ToLocal8Bit(const wchar_t* wide) {
  std::string out;
  for (; *wide; ++wide) {
    const auto c = static_cast<char32_t>(*wide);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | ((c >> 12) & 0x0F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The first unconnected pin of the direction, named name when one is given.
ComPtr<IPin> FindFreePin(IBaseFilter* filter, PIN_DIRECTION direction, const wchar_t* name) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.ReleaseAndGetAddressOf()))) return nullptr;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    ComPtr<IPin> peer;
    if (SUCCEEDED(pin->ConnectedTo(peer.ReleaseAndGetAddressOf())) && peer) continue;
    PIN_DIRECTION pinDirection;
    if (FAILED(pin->QueryDirection(&pinDirection)) || pinDirection != direction) continue;
    if (name) {
      PIN_INFO info{};
      if (FAILED(pin->QueryPinInfo(&info))) continue;
      if (info.pFilter) info.pFilter->Release();
      if (std::wstring_view(info.achName) != name) continue;
    }
    return pin;
  }
  return nullptr;
}

}  // namespace

void CBDAGraph::ConnectPins(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to, const wchar_t* outName,
                            const wchar_t* inName) {
  if (!graph) return (void)MessageBox(nullptr, "ConnectPins builder == NULL", "error");
  if (!from) return (void)MessageBox(nullptr, "ConnectPins out_from == NULL", "error");
  if (!to) return (void)MessageBox(nullptr, "ConnectPins in_to == NULL", "error");
  ComPtr<IPin> out = FindFreePin(from, PINDIR_OUTPUT, outName);
  if (!out) return (void)AfxMessageBox("CBDAGraph::ConnectPins() - No output pin found on filter\r\n");
  ComPtr<IPin> in = FindFreePin(to, PINDIR_INPUT, inName);
  if (!in) return (void)AfxMessageBox("CBDAGraph::ConnectPins() - No input pin found on filter\r\n");
  if (FAILED(graph->Connect(out.Get(), in.Get())))
    AfxMessageBox("CBDAGraph::ConnectPins() - Could not connect pins together. Error was: ");
}

ComPtr<IPin> GetPinByName(IBaseFilter* filter, const char* text) {
  ComPtr<IEnumPins> pins;
  if (!filter || FAILED(filter->EnumPins(pins.ReleaseAndGetAddressOf()))) return nullptr;
  pins->Reset();
  ComPtr<IPin> found, pin;
  while (pins->Next(1, pin.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    PIN_INFO info{};
    if (FAILED(pin->QueryPinInfo(&info))) continue;
    if (info.pFilter) info.pFilter->Release();
    if (ToLocal8Bit(info.achName).find(text) != std::string::npos) found = pin;
  }
  return found;
}
