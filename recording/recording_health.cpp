#include "recording/recording_health.h"

#include "recording/capture_progress.h"

#include "recording/recording_state.h"
#include "tuner/tuner_context.h"

RecordingHealth ReadRecordingHealth() {
  RecordingHealth health;
  if (const ComPtr<IBaseFilter>& demux = TheTunerContext().m_pDemux) {
    if (ComPtr<ITsStreamStatistics> statistics = demux.As<ITsStreamStatistics>())
      health.streamCounted = SUCCEEDED(statistics->GetStreamStatistics(&health.stream));
  }
  if (const ComPtr<IBaseFilter>& capture = TheTunerContext().m_pCaptureFilter) {
    if (ComPtr<ICaptureSourceStatus> source = capture.As<ICaptureSourceStatus>())
      health.sourceReported = SUCCEEDED(source->GetCaptureStatus(&health.source));
  }
  health.bytesWritten = RecordedBytes();
  return health;
}

std::string DescribeRecordingHealth(const RecordingHealth& health) {
  // The packets the file holds: it keeps whole packets only.
  const std::string packets = std::to_string(health.PacketsInFile());
  const std::string continuity = health.streamCounted ? std::to_string(health.stream.continuityErrors) : "-";
  const std::string sync = health.streamCounted ? std::to_string(health.stream.syncLosses) : "-";
  std::string line = "Packets: " + packets + "   Bytes: " + std::to_string(health.bytesWritten) +
                     "   CC errors: " + continuity + "   Sync losses: " + sync;
  if (health.sourceReported) {
    line += "   Overflows: " + std::to_string(health.source.AllOverflows());
    if (!health.source.fault.empty()) line += "   " + health.source.fault;
  }
  return line;
}

void SilenceWatch::Restart(std::uint64_t nowMs) {
  m_bytes = 0;
  m_sinceMs = nowMs;
}

std::uint32_t SilenceWatch::Observe(std::uint64_t bytes, std::uint64_t nowMs) {
  if (bytes != m_bytes || nowMs < m_sinceMs) {
    m_bytes = bytes;
    m_sinceMs = nowMs;
    return 0;
  }
  const std::uint64_t silentMs = nowMs - m_sinceMs;
  return silentMs < kNoticeMs ? 0 : static_cast<std::uint32_t>(silentMs / 1000);
}

std::string RecordingTrouble(const RecordingHealth& health, std::uint32_t silentSeconds) {
  std::string text;
  if (silentSeconds != 0) text += "   No data from the card for " + std::to_string(silentSeconds) + " s";
  if (health.sourceReported && health.source.AllOverflows() != 0) {
    const std::uint64_t overflows = health.source.AllOverflows();
    text += "   Stream data lost (" + std::to_string(overflows) + (overflows == 1 ? " overflow)" : " overflows)");
  }
  return text;
}

std::string RecordingStatusLine(std::uint64_t percent, const RecordingHealth& health, std::uint32_t silentSeconds) {
  if (silentSeconds != 0) return "No data for " + std::to_string(silentSeconds) + " s";
  if (health.sourceReported && health.source.AllOverflows() != 0) return "Data lost! " + std::to_string(percent) + "%";
  return RecordingStatus(percent);
}

std::string RecordingHealthLine(const RecordingHealth& health, std::uint32_t silentSeconds) {
  const std::string counts = DescribeRecordingHealth(health);
  if (silentSeconds == 0) return counts;
  return "No data from the card for " + std::to_string(silentSeconds) + " s   " + counts;
}
