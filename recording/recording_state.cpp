#include "recording/recording_state.h"

#include <algorithm>
#include <cstdio>
#include <csignal>
#include <cstring>
#include <limits>
#include <mutex>

#include "platform/com/clock.h"
#include "recording/dest_filter.h"
#include "platform/ui/debug_output.h"
#include "recording/dump_input_pin.h"
#include "tuner/tuner_context.h"

namespace {

// A file that reaches the process's size limit must fail the write (EFBIG)
// instead of ending the process.
void IgnoreFileSizeSignal() {
  static std::once_flag once;
  std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

}  // namespace

std::string DescribeCreateError(const RecordingError& error) {
  return "Cannot create the record file \"" + error.path + "\": " + std::strerror(error.error);
}

std::string DescribeWriteError(const RecordingError& error) {
  return "Cannot write the record file \"" + error.path + "\": " + std::strerror(error.error) +
         "; the recording stopped growing";
}

std::string DescribeWriteFailure(const RecordingError& error, std::uint64_t bytesKept) {
  return "Cannot write the record file \"" + error.path + "\": " + std::strerror(error.error) +
         ".\nThe recording was stopped; the " + std::to_string(bytesKept) +
         " bytes written before it are kept in the file.";
}

std::string SplitPartPath(const std::string& path, std::uint32_t number) {
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "-%04u", number);
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return extension ? path.substr(0, dot) + suffix + path.substr(dot) : path + suffix;
}

RecordingState::RecordingState() = default;

void RecordingState::SetRecordFilePath(std::string path) {
  CAutoLock lock(m_sinkLock);
  m_path = std::move(path);
}

std::string RecordingState::RecordFilePath() {
  CAutoLock lock(m_sinkLock);
  return m_path;
}

void RecordingState::SetSplit(Split split) {
  CAutoLock lock(m_sinkLock);
  m_split = split;
}

std::string RecordingState::PartPathLocked(std::uint32_t number) const {
  const bool split = m_split.bytes || m_split.seconds;
  return split ? SplitPartPath(m_path, number) : m_path;
}

int RecordingState::OpenPartLocked(std::uint32_t number) {
  m_part = number;
  m_partStartMs = TickCountMs();
  if (m_path == "-") {
    m_file.UseStandardOutput();
    return 0;
  }
  return m_file.Create(PartPathLocked(number));
}

void RecordingState::FailLocked(int error) {
  {
    std::lock_guard lock(m_errorMutex);
    if (m_writeError) return;
    m_writeError = RecordingError{error, m_path == "-" ? "standard output" : PartPathLocked(m_part)};
    // The streaming thread must not wait for a box: the page polls
    // RecordingWriteError(); only the debug line goes out from here.
    OutputDebugString(DescribeWriteError(*m_writeError));
  }
  m_failed = true;
}

void RecordingState::PublishLocked() {
  // The file's length, as the limit is measured in: what was written, or
  // more when the file grew otherwise.
  m_recordedBytes = m_closedPartsBytes + m_file.SizeBytes().value_or(m_file.Bytes());
  m_parts = m_part;
}

HRESULT RecordingState::Start(TunerContext& context) {
  if (!context.m_pMediaControl) return S_FALSE;
  IgnoreFileSizeSignal();
  {
    CAutoLock lock(m_sinkLock);
    if (const int error = m_file.Close()) FailLocked(error);
    {
      std::lock_guard errorLock(m_errorMutex);
      m_writeError.reset();
    }
    m_failed = false;
    m_createError.reset();
    m_runFailed.reset();
    m_closedPartsBytes = 0;
    if (const int error = OpenPartLocked(1)) {
      m_createError = RecordingError{error, PartPathLocked(1)};
      OutputDebugString(DescribeCreateError(*m_createError));
      m_part = 0;
      PublishLocked();
      return HResultFromErrno(error);
    }
    PublishLocked();
    if (context.m_pDestFilter) context.m_pDestFilter->InputPin()->SetRecording(*this);
  }
  // The new file is open before the graph runs, so the first sample lands
  // in it. The run is asked without the sink lock: a graph that fails to
  // run stops its filters again and waits for the streaming thread, which
  // may be waiting for that lock.
  const HRESULT run = context.m_pMediaControl->Run();
  if (SUCCEEDED(run)) return S_OK;
  Stop(context);  // nothing is recorded: no file is left open
  CAutoLock lock(m_sinkLock);
  m_runFailed = run;
  return run;
}

void RecordingState::Stop(TunerContext& context) {
  // Returns once no sample is in flight. Without a graph nothing delivers.
  if (context.m_pMediaControl) context.m_pMediaControl->Stop();
  CAutoLock lock(m_sinkLock);
  PublishLocked();
  const bool wasOpen = m_file.IsOpen();
  if (const int error = m_file.Close(); error && wasOpen) FailLocked(error);
}

std::uint32_t RecordingState::RecordedKBytes() {
  const std::uint64_t kbytes = m_recordedBytes.load() / 1024;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(kbytes, std::numeric_limits<std::uint32_t>::max()));
}

std::uint64_t RecordingState::RecordedBytes() { return m_recordedBytes.load(); }

std::uint32_t RecordingState::Parts() { return m_parts.load(); }

std::optional<HRESULT> RecordingState::RunFailed() {
  CAutoLock lock(m_sinkLock);
  return m_runFailed;
}

std::optional<RecordingError> RecordingState::CreateError() {
  CAutoLock lock(m_sinkLock);
  return m_createError;
}

std::optional<RecordingError> RecordingState::WriteError() {
  if (!m_failed.load()) return std::nullopt;
  std::lock_guard lock(m_errorMutex);
  return m_writeError;
}

bool RecordingState::IsFileOpen() {
  CAutoLock lock(m_sinkLock);
  return m_file.IsOpen();
}

void RecordingState::AppendLocked(const void* data, std::size_t size) {
  if (!m_file.IsOpen() || m_failed.load() || size == 0) return;
  // A part that is full, or old enough, ends before this sample.
  const bool partFull = m_split.bytes && m_file.Bytes() > 0 && m_file.Bytes() + size > *m_split.bytes;
  const bool partOld = m_split.seconds && m_file.Bytes() > 0 &&
                       TickCountMs() - m_partStartMs >= std::uint64_t{*m_split.seconds} * 1000;
  if (partFull || partOld) {
    m_closedPartsBytes += m_file.SizeBytes().value_or(m_file.Bytes());
    if (const int error = m_file.Close()) return FailLocked(error);
    if (const int error = OpenPartLocked(m_part + 1)) return FailLocked(error);
  }
  const int error = m_file.Append(data, size);
  PublishLocked();
  if (error) FailLocked(error);
}

RecordingState& TheRecordingState() {
  static RecordingState state;
  return state;
}

CCritSec& SinkLock() { return TheRecordingState().SinkLock(); }

void SetRecordFilePath(const std::string& path) { TheRecordingState().SetRecordFilePath(path); }

HRESULT StartRecording() { return TheRecordingState().Start(TheTunerContext()); }

void StopRecording() { TheRecordingState().Stop(TheTunerContext()); }

std::uint32_t RecordedKBytes() { return TheRecordingState().RecordedKBytes(); }

void SetRecordingSplit(RecordingState::Split split) { TheRecordingState().SetSplit(split); }

std::uint64_t RecordedBytes() { return TheRecordingState().RecordedBytes(); }

std::optional<RecordingError> RecordingCreateError() { return TheRecordingState().CreateError(); }

std::optional<RecordingError> RecordingWriteError() { return TheRecordingState().WriteError(); }
