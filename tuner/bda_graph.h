// Helpers of graph construction: connecting two filters by their first free
// pins, and finding a pin by a fragment of its name. UI thread only.
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/media/media_interfaces.h"

class CBDAGraph {
 public:
  // Connects the first unconnected output pin of from (named outName, when
  // given) to the first unconnected input pin of to (named inName, when
  // given). Reports its own failures in message boxes.
  static void ConnectPins(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to, const wchar_t* outName,
                          const wchar_t* inName);
};

// The last pin of filter whose name, in the local 8-bit code page, contains
// text; with a reference, or none.
ComPtr<IPin> GetPinByName(IBaseFilter* filter, const char* text);
