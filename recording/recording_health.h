// The health of the recording in progress, for the Capture Control page:
// what the demultiplexer branch of the receive graph has seen since the
// graph started (packets, continuity-counter errors, losses of sync) and
// what the record file holds. Counted beside the sink, never in its write
// path, and read from counters the streaming thread publishes, so a reading
// never waits for that thread. UI thread (it reads the tuner context).
#pragma once

#include <cstdint>
#include <string>

#include "platform/media/ts_stream_statistics.h"

struct RecordingHealth {
  bool streamCounted = false;  // the graph has a demultiplexer that counts
  TsStreamStatistics stream;
  std::uint64_t bytesWritten = 0;
};

RecordingHealth ReadRecordingHealth();
// One line: packets received, bytes written, the two error counts.
std::string DescribeRecordingHealth(const RecordingHealth& health);
