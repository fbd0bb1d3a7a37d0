// CPassThroughOutputPin: an output that forwards the samples its filter
// receives on a source input pin, the same sample objects, never a copy.
// It has no allocator of its own: it tells the downstream pin (read-only)
// to use the source pin's allocator, at connection and whenever the source
// pin's allocator changes. It offers the source's connection type (or a
// transport stream while the source is unconnected) and accepts any type.
//
// Threads: connection calls on the graph's thread; Deliver on the streaming
// thread. The upstream allocator is committed and decommitted by the pin
// that owns it, so this pin leaves it alone on state changes.
#pragma once

#include <functional>

#include "platform/media/base_output_pin.h"
#include "recording/framework/base_input_pin.h"

class CPassThroughOutputPin final : public CBaseOutputPin {
 public:
  // onConnected runs (without any lock) after each completed connection.
  CPassThroughOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name, CBaseInputPin* source,
                        std::function<void()> onConnected = {});

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
  HRESULT GetMediaType(int position, CMediaType* mt) override;
  HRESULT CompleteConnect(IPin* peer) override;
  HRESULT Active() override;
  HRESULT Inactive() override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

  // The source pin got a new allocator: pass it on downstream.
  HRESULT UpstreamAllocatorChanged();

 private:
  CBaseInputPin* const m_pSource;
  const std::function<void()> m_onConnected;
};
