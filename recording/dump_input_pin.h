// CDumpInputPin: the stream sink's input pin, "Input". It accepts every
// media type and appends the data of each received sample, byte for byte and
// in arrival order, to the record file of the recording state, straight from
// the sample's buffer (no copy, no queue, no thread of its own).
//
// Threads: Receive, ReceiveMultiple, EndOfStream and NewSegment run on the
// upstream streaming thread; SetRecording on the UI thread under the sink
// lock (the pin's framework lock). The recording switch is atomic because
// Receive reads it before taking the lock.
#pragma once

#include <atomic>

#include "recording/base_input_pin.h"

class CDestFilter;

class CDumpInputPin final : public CBaseInputPin {
 public:
  CDumpInputPin(CDestFilter* filter, CCritSec* sinkLock);

  // Accepts any type, even an empty one.
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
  // Position 0: a raw stream of 188-byte packets; past it none; before it
  // E_INVALIDARG.
  HRESULT GetMediaType(int position, CMediaType* mt) override;

  HRESULT EndOfStream() override;
  HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
  // Drops the sample while recording is off; otherwise appends its actual
  // data to the record file under the sink lock. A sample whose length does
  // not fit its buffer is refused unread.
  HRESULT Receive(IMediaSample* sample) override;
  // S_FALSE: the write happens on the caller's thread and does not queue.
  HRESULT ReceiveCanBlock() override;

  // The recording switch; set under the sink lock.
  void SetRecording(bool on) { m_bRecording = on; }
  bool IsRecording() const { return m_bRecording.load(); }

 private:
  std::atomic<bool> m_bRecording{false};
};
