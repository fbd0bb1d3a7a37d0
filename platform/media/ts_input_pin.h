// CTsInputPin: an input that takes a transport stream (major type
// MEDIATYPE_Stream), counts its packets per PID and, when given an output,
// forwards every sample there unchanged. Used by the demultiplexer (which
// forwards to the transport information filter) and by that filter itself.
//
// Threads: Receive on the streaming thread; the counts are guarded by
// m_countMutex so any thread may read them.
#pragma once

#include <mutex>

#include "platform/media/ts_packet_counter.h"
#include "recording/base_input_pin.h"

class CPassThroughOutputPin;

class CTsInputPin final : public CBaseInputPin {
 public:
  CTsInputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name);

  // Where samples go after counting; set once, before any connection.
  void ForwardTo(CPassThroughOutputPin* output) { m_pForward = output; }

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
  HRESULT GetMediaType(int position, CMediaType* mt) override;
  HRESULT NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT Receive(IMediaSample* sample) override;
  HRESULT EndOfStream() override;

  TsPacketCounter Counts();

 private:
  CPassThroughOutputPin* m_pForward = nullptr;
  std::mutex m_countMutex;
  TsPacketCounter m_counter;  // guarded by m_countMutex
};
