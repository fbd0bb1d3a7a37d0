// CDumpInputPin: the stream sink's input pin, "Input". It accepts every
// media type and hands the data of each received sample, byte for byte and
// in arrival order, to its sample writer (the recording state), straight
// from the sample's buffer (no copy, no queue, no thread of its own).
//
// Threads: Receive, ReceiveMultiple, EndOfStream and NewSegment run on the
// upstream streaming thread; SetRecording on the UI thread under the sink
// lock (the pin's framework lock), which guards the writer. The recording
// switch is atomic because Receive reads it before taking the lock.
#pragma once

#include <atomic>

#include "recording/framework/base_input_pin.h"
#include "recording/sample_writer.h"

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
  // Drops the sample while recording is off; otherwise hands its actual
  // data to the writer under the sink lock. A sample whose length does not
  // fit its buffer is refused unread.
  HRESULT Receive(IMediaSample* sample) override;
  // S_FALSE: the write happens on the caller's thread and does not queue.
  HRESULT ReceiveCanBlock() override;

  // Switches recording on into `writer`, which must outlive the pin or the
  // next call; under the sink lock. Nothing switches it off: a writer
  // without an open file drops what it is handed.
  void SetRecording(SampleWriter& writer) {
    m_pWriter = &writer;
    m_bRecording = true;
  }
  bool IsRecording() const { return m_bRecording.load(); }

 private:
  std::atomic<bool> m_bRecording{false};
  SampleWriter* m_pWriter = nullptr;  // guarded by the sink lock
};
