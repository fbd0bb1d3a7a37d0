#include "recording/recording_health.h"

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
    line += "   Overflows: " + std::to_string(health.source.overflows);
    if (!health.source.fault.empty()) line += "   " + health.source.fault;
  }
  return line;
}
