#include "recording/recording_state.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <limits>
#include <mutex>

#include "recording/dest_filter.h"
#include "recording/dump_input_pin.h"
#include "tuner/tuner_context.h"

namespace {

void ReportToStderr(const std::string& line) { std::cerr << line << std::endl; }

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

RecordingState::RecordingState() : m_reporter(ReportToStderr) {}

void RecordingState::SetRecordFilePath(std::string path) {
  CAutoLock lock(m_sinkLock);
  m_path = std::move(path);
}

std::string RecordingState::RecordFilePath() {
  CAutoLock lock(m_sinkLock);
  return m_path;
}

void RecordingState::SetErrorReporter(RecordingErrorReporter reporter) {
  CAutoLock lock(m_sinkLock);
  m_reporter = reporter ? std::move(reporter) : RecordingErrorReporter(ReportToStderr);
}

HRESULT RecordingState::Start(TunerContext& context) {
  if (!context.m_pMediaControl) return S_FALSE;
  IgnoreFileSizeSignal();
  std::optional<RecordingError> createError;
  {
    CAutoLock lock(m_sinkLock);
    m_file.Close();
    m_writeError.reset();
    m_recordedKBytes = 0;
    if (const int error = m_file.Create(m_path)) {
      createError = RecordingError{error, m_path};
    } else if (context.m_pDestFilter) {
      context.m_pDestFilter->InputPin()->SetRecording(true);
    }
  }
  if (createError) {
    Report(DescribeCreateError(*createError));
    return HResultFromErrno(createError->error);
  }
  // The new file is open before the graph runs, so the first sample lands
  // in it. The run is asked without the sink lock: a graph that fails to
  // run stops its filters again and waits for the streaming thread, which
  // may be waiting for that lock.
  return context.m_pMediaControl->Run();
}

void RecordingState::Stop(TunerContext& context) {
  if (!context.m_pMediaControl) return;
  context.m_pMediaControl->Stop();  // returns once no sample is in flight
  CAutoLock lock(m_sinkLock);
  m_file.Close();
}

std::uint32_t RecordingState::RecordedKBytes() {
  CAutoLock lock(m_sinkLock);
  if (const auto bytes = m_file.SizeBytes()) {
    const std::uint64_t kbytes = *bytes / 1024;
    m_recordedKBytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(kbytes, std::numeric_limits<std::uint32_t>::max()));
  }
  return m_recordedKBytes;
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
    ReportToStderr(DescribeWriteError(*m_writeError));
  }
}

void RecordingState::Report(const std::string& line) {
  RecordingErrorReporter reporter;
  {
    CAutoLock lock(m_sinkLock);
    reporter = m_reporter;
  }
  reporter(line);
}

RecordingState& TheRecordingState() {
  static RecordingState state;
  return state;
}

CCritSec& SinkLock() { return TheRecordingState().SinkLock(); }

void SetRecordFilePath(const std::string& path) { TheRecordingState().SetRecordFilePath(path); }

void SetRecordingErrorReporter(RecordingErrorReporter reporter) {
  TheRecordingState().SetErrorReporter(std::move(reporter));
}

HRESULT StartRecording() { return TheRecordingState().Start(TheTunerContext()); }

void StopRecording() { TheRecordingState().Stop(TheTunerContext()); }

std::uint32_t RecordedKBytes() { return TheRecordingState().RecordedKBytes(); }

std::optional<RecordingError> RecordingWriteError() { return TheRecordingState().WriteError(); }
