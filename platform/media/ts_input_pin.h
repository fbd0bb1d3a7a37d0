// CTsInputPin: an input that takes a transport stream (major type
// MEDIATYPE_Stream), counts its packets per PID, checks their continuity
// and, when given an output, forwards every sample there unchanged. Used by
// the demultiplexer (which forwards to the transport information filter) and
// by that filter itself. The counts start again when the filter leaves the
// stopped state.
//
// Threads: Receive on the streaming thread; the counts are guarded by
// m_countMutex so any thread may read them, and their totals are also
// published as atomics after each sample, for readers that must not wait.
#pragma once

#include <atomic>
#include <mutex>

#include "platform/media/ts_packet_counter.h"
#include "platform/media/ts_stream_statistics.h"
#include "recording/framework/base_input_pin.h"

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
  // Leaving the stopped state: counting starts again.
  HRESULT Active() override;

  TsPacketCounter Counts();
  TsStreamStatistics Statistics() const;

 private:
  CPassThroughOutputPin* m_pForward = nullptr;
  std::mutex m_countMutex;
  TsPacketCounter m_counter;  // guarded by m_countMutex
  std::atomic<std::uint64_t> m_packets{0};
  std::atomic<std::uint64_t> m_continuityErrors{0};
  std::atomic<std::uint64_t> m_syncLosses{0};
};
