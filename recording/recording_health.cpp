#include "recording/recording_health.h"

#include "recording/recording_state.h"
#include "tuner/tuner_context.h"

RecordingHealth ReadRecordingHealth() {
  RecordingHealth health;
  if (const ComPtr<IBaseFilter>& demux = TheTunerContext().m_pDemux) {
    if (ComPtr<ITsStreamStatistics> statistics = demux.As<ITsStreamStatistics>())
      health.streamCounted = SUCCEEDED(statistics->GetStreamStatistics(&health.stream));
  }
  health.bytesWritten = RecordedBytes();
  return health;
}

std::string DescribeRecordingHealth(const RecordingHealth& health) {
  const std::string packets = health.streamCounted ? std::to_string(health.stream.packets) : "-";
  const std::string continuity = health.streamCounted ? std::to_string(health.stream.continuityErrors) : "-";
  const std::string sync = health.streamCounted ? std::to_string(health.stream.syncLosses) : "-";
  return "Packets: " + packets + "   Bytes: " + std::to_string(health.bytesWritten) + "   CC errors: " + continuity +
         "   Sync losses: " + sync;
}
