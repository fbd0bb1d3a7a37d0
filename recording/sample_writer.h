// SampleWriter: where the stream sink's input pin hands the bytes of each
// sample it receives while recording. The pin knows nothing else of the
// recording; the recording state is the writer in the program, a test may
// be another.
#pragma once

#include <cstddef>

class SampleWriter {
 public:
  // Called on the streaming thread with the sink lock held, once per
  // sample, in arrival order; `size` may be 0. Must not call back into the
  // pin.
  virtual void AppendLocked(const void* data, std::size_t size) = 0;

 protected:
  ~SampleWriter() = default;
};
