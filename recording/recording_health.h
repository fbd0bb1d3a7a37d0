// The health of the recording in progress, for the Capture Control page:
// what the demultiplexer branch of the receive graph has seen since the
// graph started (packets, continuity-counter errors, losses of sync), what
// the record file holds, and, where the card's capture source can lose data
// before the graph sees it (a real adapter's buffer), how often it did. Counted beside the sink, never in its write
// path, and read from counters the streaming thread publishes, so a reading
// never waits for that thread. UI thread (it reads the tuner context).
#pragma once

#include <cstdint>
#include <string>

#include "platform/media/capture_source_status.h"
#include "platform/media/ts_stream_statistics.h"

struct RecordingHealth {
  bool streamCounted = false;  // the graph has a demultiplexer that counts
  TsStreamStatistics stream;   // what the demultiplexer branch received
  std::uint64_t bytesWritten = 0;
  std::uint64_t PacketsInFile() const { return bytesWritten / 188; }
  bool sourceReported = false;  // the capture filter reports its source
  CaptureSourceStatus source;
};

RecordingHealth ReadRecordingHealth();
// One line: the packets and bytes in the file (packets x 188 = bytes), the
// two error counts of the stream received, and the source's overflows (its
// device's and its ring's) and fault when it reports them.
std::string DescribeRecordingHealth(const RecordingHealth& health);

// Notices a recording that receives nothing (a generic stream asked of a
// DVB-S carrier, a lost lock under a size limit that would then never be
// reached): the time since the recorded size last grew, once it is long
// enough to mean something. The recording's own thread.
class SilenceWatch {
 public:
  static constexpr std::uint64_t kNoticeMs = 3000;

  void Restart(std::uint64_t nowMs);
  // Whole seconds without new data, once at least kNoticeMs; else 0.
  std::uint32_t Observe(std::uint64_t bytes, std::uint64_t nowMs);

 private:
  std::uint64_t m_bytes = 0;
  std::uint64_t m_sinceMs = 0;
};

// What is wrong with the recording in progress, for rx40ctl's progress
// line: "No data from the card for N s", the stream lost to overflows;
// empty when nothing is. Each part starts with a separator.
std::string RecordingTrouble(const RecordingHealth& health, std::uint32_t silentSeconds);
// The same for the page, whose lines are short: the status line in place of
// "Recording... N%" ("No data for N s", "Data lost! N%"), and the health
// line with a silence first, before the counts it makes meaningless.
std::string RecordingStatusLine(std::uint64_t percent, const RecordingHealth& health, std::uint32_t silentSeconds);
std::string RecordingHealthLine(const RecordingHealth& health, std::uint32_t silentSeconds);
