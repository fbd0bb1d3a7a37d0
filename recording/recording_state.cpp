#include "recording/recording_state.h"

#include <algorithm>
#include <csignal>
#include <cstring>
#include <limits>
#include <mutex>

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

RecordingState::RecordingState() = default;

void RecordingState::SetRecordFilePath(std::string path) {
  CAutoLock lock(m_sinkLock);
  m_path = std::move(path);
}

std::string RecordingState::RecordFilePath() {
  CAutoLock lock(m_sinkLock);
  return m_path;
}

HRESULT RecordingState::Start(TunerContext& context) {
  if (!context.m_pMediaControl) return S_FALSE;
  IgnoreFileSizeSignal();
  {
    CAutoLock lock(m_sinkLock);
    m_file.Close();
    m_writeError.reset();
    m_createError.reset();
    m_recordedBytes = 0;
    if (const int error = m_file.Create(m_path)) {
      m_createError = RecordingError{error, m_path};
      OutputDebugString(DescribeCreateError(*m_createError));
      return HResultFromErrno(error);
    }
    if (context.m_pDestFilter) context.m_pDestFilter->InputPin()->SetRecording(true);
  }
  // The new file is open before the graph runs, so the first sample lands
  // in it. The run is asked without the sink lock: a graph that fails to
  // run stops its filters again and waits for the streaming thread, which
  // may be waiting for that lock.
  return context.m_pMediaControl->Run();
}

void RecordingState::Stop(TunerContext& context) {
  // Returns once no sample is in flight. Without a graph nothing delivers.
  if (context.m_pMediaControl) context.m_pMediaControl->Stop();
  CAutoLock lock(m_sinkLock);
  UpdateRecordedSizeLocked();
  m_file.Close();
}

std::uint64_t RecordingState::UpdateRecordedSizeLocked() {
  if (const auto bytes = m_file.SizeBytes()) m_recordedBytes = *bytes;
  return m_recordedBytes;
}

std::uint32_t RecordingState::RecordedKBytes() {
  CAutoLock lock(m_sinkLock);
  const std::uint64_t kbytes = UpdateRecordedSizeLocked() / 1024;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(kbytes, std::numeric_limits<std::uint32_t>::max()));
}

std::uint64_t RecordingState::RecordedBytes() {
  CAutoLock lock(m_sinkLock);
  return UpdateRecordedSizeLocked();
}

std::optional<RecordingError> RecordingState::CreateError() {
  CAutoLock lock(m_sinkLock);
  return m_createError;
}

std::optional<RecordingError> RecordingState::WriteError() {
  CAutoLock lock(m_sinkLock);
  return m_writeError;
}

bool RecordingState::IsFileOpen() {
  CAutoLock lock(m_sinkLock);
  return m_file.IsOpen();
}

void RecordingState::AppendLocked(const void* data, std::size_t size) {
  if (!m_file.IsOpen() || m_writeError || size == 0) return;
  if (const int error = m_file.Append(data, size)) {
    m_writeError = RecordingError{error, m_path};
    // The streaming thread must not wait for a box: the page polls
    // RecordingWriteError(); only the debug line goes out from here.
    OutputDebugString(DescribeWriteError(*m_writeError));
  }
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

std::uint64_t RecordedBytes() { return TheRecordingState().RecordedBytes(); }

std::optional<RecordingError> RecordingCreateError() { return TheRecordingState().CreateError(); }

std::optional<RecordingError> RecordingWriteError() { return TheRecordingState().WriteError(); }
