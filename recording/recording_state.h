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
// thread never waits for a box.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/com/hresult.h"
#include "platform/media/media_interfaces.h"
#include "recording/critical_section.h"
#include "recording/record_file.h"

struct TunerContext;

// A failure of the record file: the errno and the path it concerns.
struct RecordingError {
  int error = 0;
  std::string path;
};

class RecordingState {
 public:
  RecordingState();
  RecordingState(const RecordingState&) = delete;
  RecordingState& operator=(const RecordingState&) = delete;

  CCritSec& SinkLock() { return m_sinkLock; }

  void SetRecordFilePath(std::string path);
  std::string RecordFilePath();
  // Closes any open record file, creates a new one at the record file path,
  // switches the sink's recording on and runs the graph. S_FALSE without a
  // graph; the creation failure (kept in CreateError; graph left alone,
  // nothing open); else the graph's run result.
  HRESULT Start(TunerContext& context);
  // Stops the graph, if there is one, then closes the record file. A file
  // left open by a graph torn down during a recording is closed too.
  void Stop(TunerContext& context);
  // The open record file's length in whole KB (saturating at the 32-bit
  // limit); the last value when no file is open.
  std::uint32_t RecordedKBytes();
  // The open record file's length in bytes; the last value when none is open.
  std::uint64_t RecordedBytes();
  // Why the last Start could not create its file, if it could not.
  std::optional<RecordingError> CreateError();
  // The write failure that ended the current record file, if any.
  std::optional<RecordingError> WriteError();
  bool IsFileOpen();

  // Called by the sink's pin with the sink lock held: appends the sample's
  // bytes to the open file; drops them when no file is open or an earlier
  // write failed.
  void AppendLocked(const void* data, std::size_t size);

 private:
  std::uint64_t UpdateRecordedSizeLocked();

  CCritSec m_sinkLock;
  std::string m_path;                         // guarded by m_sinkLock
  RecordFile m_file;                          // guarded by m_sinkLock
  std::uint64_t m_recordedBytes = 0;           // guarded by m_sinkLock
  std::optional<RecordingError> m_createError; // guarded by m_sinkLock
  std::optional<RecordingError> m_writeError;  // guarded by m_sinkLock
};

RecordingState& TheRecordingState();

// The page's operations on the process-wide state and the tuner context.
CCritSec& SinkLock();
void SetRecordFilePath(const std::string& path);
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
