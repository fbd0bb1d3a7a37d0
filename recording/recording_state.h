// The process-wide recording state: the sink lock, the record file path, the
// record file and the recorded size, with the operations the Capture Control
// page calls on the UI thread (StartRecording, StopRecording, RecordedKBytes)
// and the append the sink's input pin calls on the streaming thread.
//
// Locking: the sink lock (re-entrant) guards every field below and is the
// framework lock of the stream sink filter, so state changes of the sink,
// each sample write and the file change of a recording start are serialised.
// The graph is run and stopped outside the sink lock (a stop waits for the
// streaming thread, which may be waiting for that lock).
//
// Failures are kept, not shown: the Capture Control page reports a record
// file that cannot be created (Start's result, CreateError) and a failed
// write (WriteError, polled by its timer) in its own boxes. The streaming
// thread never waits for a box. A flush or close that fails at the stop
// (a network share, a quota) is a write failure too.
//
// What the UI reads while recording (the size, a write failure) comes from
// values the writer publishes, never from the sink lock, which a write holds
// for as long as the disk takes: a stalled disk must not freeze the window.
//
// A recording may be split into parts (rx40ctl --split-mb / --split-seconds):
// FILE-0001.ts, FILE-0002.ts, ... each starting at a sample's first packet,
// so that the parts laid end to end are the stream. The record file path "-"
// is standard output.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "platform/com/hresult.h"
#include "platform/media/media_interfaces.h"
#include "recording/framework/critical_section.h"
#include "recording/record_file.h"
#include "recording/sample_writer.h"

struct TunerContext;

// A failure of the record file: the errno and the path it concerns.
struct RecordingError {
  int error = 0;
  std::string path;
};

class RecordingState final : public SampleWriter {
 public:
  RecordingState();
  RecordingState(const RecordingState&) = delete;
  RecordingState& operator=(const RecordingState&) = delete;

  CCritSec& SinkLock() { return m_sinkLock; }

  void SetRecordFilePath(std::string path);
  std::string RecordFilePath();
  // Parts of at most this many bytes, or seconds; none: one file.
  struct Split {
    std::optional<std::uint64_t> bytes;
    std::optional<std::uint32_t> seconds;
  };
  void SetSplit(Split split);
  // Closes any open record file, creates a new one at the record file path,
  // switches the sink's recording on and runs the graph. S_FALSE without a
  // graph; the creation failure (kept in CreateError; graph left alone,
  // nothing open); a graph that cannot run is stopped again and the file
  // closed (RunFailed then says so); else S_OK.
  HRESULT Start(TunerContext& context);
  // Stops the graph, if there is one, then flushes and closes the record
  // file. A file left open by a graph torn down during a recording is
  // closed too.
  void Stop(TunerContext& context);
  // The bytes of the recording (all its parts) in whole KB (saturating at
  // the 32-bit limit), and in bytes; the last recording's when none runs.
  // Any thread; never waits for a write.
  std::uint32_t RecordedKBytes();
  std::uint64_t RecordedBytes();
  // The parts written so far (1 for an unsplit recording).
  std::uint32_t Parts();
  // The graph's refusal at the last Start, if it refused.
  std::optional<HRESULT> RunFailed();
  // Why the last Start could not create its file, if it could not.
  std::optional<RecordingError> CreateError();
  // The write failure that ended the current record file, if any.
  std::optional<RecordingError> WriteError();
  bool IsFileOpen();

  // The sink's pin's writer, called with the sink lock held: appends the
  // sample's bytes to the open file (a new part first when one is due);
  // drops them when no file is open or an earlier write failed.
  void AppendLocked(const void* data, std::size_t size) override;

 private:
  // The file of part `number` (1, 2, ...); the path itself unsplit.
  std::string PartPathLocked(std::uint32_t number) const;
  int OpenPartLocked(std::uint32_t number);
  void FailLocked(int error);
  void PublishLocked();

  CCritSec m_sinkLock;
  std::string m_path;                          // guarded by m_sinkLock
  Split m_split;                               // guarded by m_sinkLock
  RecordFile m_file;                           // guarded by m_sinkLock
  std::uint64_t m_closedPartsBytes = 0;        // guarded by m_sinkLock
  std::uint32_t m_part = 0;                    // guarded by m_sinkLock
  std::uint64_t m_partStartMs = 0;             // guarded by m_sinkLock
  std::optional<RecordingError> m_createError; // guarded by m_sinkLock
  std::optional<HRESULT> m_runFailed;          // guarded by m_sinkLock

  // Published by whoever writes, read by anyone.
  std::atomic<std::uint64_t> m_recordedBytes{0};
  std::atomic<std::uint32_t> m_parts{0};
  std::atomic<bool> m_failed{false};
  std::mutex m_errorMutex;
  std::optional<RecordingError> m_writeError;  // guarded by m_errorMutex
};

RecordingState& TheRecordingState();

// The page's operations on the process-wide state and the tuner context.
CCritSec& SinkLock();
void SetRecordFilePath(const std::string& path);
void SetRecordingSplit(RecordingState::Split split);
HRESULT StartRecording();
void StopRecording();
std::uint32_t RecordedKBytes();
std::uint64_t RecordedBytes();
std::optional<RecordingError> RecordingCreateError();
std::optional<RecordingError> RecordingWriteError();
// The text shown for an error, naming the path and the reason.
std::string DescribeCreateError(const RecordingError& error);
std::string DescribeWriteError(const RecordingError& error);
// What the operator is told when a write ended the recording: the file, the
// reason and how many bytes before the failure the file keeps.
std::string DescribeWriteFailure(const RecordingError& error, std::uint64_t bytesKept);
// The file of part `number` of a recording into path: "take.ts" gives
// "take-0001.ts", "take" gives "take-0001".
std::string SplitPartPath(const std::string& path, std::uint32_t number);
