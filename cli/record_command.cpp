// record: the Capture Control page's recording without the page. Start
// refuses without lock, as "Start Record" does; the limit is checked every
// 100 ms by the page's rules; a stop (SIGINT, a removal) ends it as "Cancel
// Record" does, and every byte received is in the file.
#include <cstdio>
#include <unistd.h>

#include "cli/commands.h"
#include "platform/com/clock.h"
#include "recording/capture_progress.h"
#include "recording/record_limit.h"
#include "recording/recording_health.h"
#include "recording/recording_state.h"
#include "tuner/tuner_context.h"

namespace {

// JSON progress readings go out once a second, not on every tick.
constexpr std::uint32_t kTicksPerProgressReading = 1000 / kRecordTickMs;

enum class Ending { LimitReached, Interrupted, DeviceRemoved, WriteFailed };

const char* EndingName(Ending ending) {
  switch (ending) {
    case Ending::LimitReached: return "limit";
    case Ending::Interrupted: return "interrupted";
    case Ending::DeviceRemoved: return "removed";
    case Ending::WriteFailed: return "write_error";
  }
  return "";
}

const char* EndingText(Ending ending) {
  switch (ending) {
    case Ending::LimitReached: return "limit reached";
    case Ending::Interrupted: return "interrupted";
    case Ending::DeviceRemoved: return "a device was removed";
    case Ending::WriteFailed: return "write error";
  }
  return "";
}

void ShowProgress(const CommandContext& context, const LimitTick& tick, LimitMode mode, std::uint32_t ticks) {
  context.console.Progress(RecordingStatus(tick.percent) + "  " + tick.line);
  if (!context.console.Json() || ticks % kTicksPerProgressReading != 0) return;
  JsonObject json;
  json.Integer("percent", static_cast<std::int64_t>(tick.percent));
  if (mode == LimitMode::FileSize) json.Integer("kbytes", tick.kbytes);
  else json.Integer("seconds_left", tick.secondsLeft);
  json.Integer("bytes", static_cast<std::int64_t>(RecordedBytes()));
  context.console.Result("progress", json, "");
}

// Ticks until the limit, a stop or a failed write ends the recording.
Ending RecordUntilEnd(const CommandContext& context) {
  const RecordArguments& record = context.arguments.record;
  const std::uint32_t sizeLimit = record.mode == LimitMode::FileSize ? record.limit : kSizeLimitMB.low;
  const std::uint32_t timeLimit = record.mode == LimitMode::Time ? record.limit : kTimeLimitSeconds.low;
  RecordLimit limit;
  for (std::uint32_t ticks = 1;; ++ticks) {
    if (context.stop.SleepUnlessStopped(kRecordTickMs))
      return context.stop.Why() == StopRequest::Reason::DeviceRemoved ? Ending::DeviceRemoved : Ending::Interrupted;
    const LimitTick tick = limit.Tick(record.mode, sizeLimit, timeLimit);
    if (RecordingWriteError()) return Ending::WriteFailed;
    if (tick.Reached()) return Ending::LimitReached;
    ShowProgress(context, tick, record.mode, ticks);
  }
}

void Summarise(const CommandContext& context, Ending ending, std::uint64_t durationMs) {
  const RecordingHealth health = ReadRecordingHealth();
  const std::string& file = context.arguments.record.file;
  JsonObject json;
  json.Text("file", file)
      .Integer("bytes", static_cast<std::int64_t>(health.bytesWritten))
      .Real("duration_s", static_cast<double>(durationMs) / 1000.0, 1)
      .Text("stopped", EndingName(ending));
  json.Integer("packets", static_cast<std::int64_t>(health.PacketsInFile()));
  if (health.streamCounted) {
    json.Integer("continuity_errors", static_cast<std::int64_t>(health.stream.continuityErrors))
        .Integer("sync_losses", static_cast<std::int64_t>(health.stream.syncLosses));
  }
  if (health.sourceReported) {
    json.Integer("overflows", static_cast<std::int64_t>(health.source.overflows));
    if (!health.source.fault.empty()) json.Text("source_fault", health.source.fault);
  }
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.1f s", static_cast<double>(durationMs) / 1000.0);
  context.console.Result("record", json,
                         "Recorded " + std::to_string(health.bytesWritten) + " bytes in " + duration + " into " + file +
                             " (" + EndingText(ending) + ")\n" + DescribeRecordingHealth(health));
}

}  // namespace

void RunRecord(const CommandContext& context) {
  const std::optional<TuneTarget> target = ResolveTarget(context);
  if (!target) return;
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  if (!TuneCard(context, card, *target)) return;
  if (context.stop.Requested()) {
    context.console.Error(StopText(context.stop.Why()));
    return;
  }
  if (SignalLockedFlag().load() == 0) {
    context.console.Error("Signal is not locked! Please check signal first.");
    return;
  }

  SetRecordFilePath(context.arguments.record.file);
  if (FAILED(StartRecording())) {
    if (const auto error = RecordingCreateError()) context.console.Error(DescribeCreateError(*error));
    else context.console.Error("the receive graph cannot run");  // the file was closed again, empty
    return;
  }
  const std::uint64_t start = TickCountMs();
  const Ending ending = RecordUntilEnd(context);
  const std::uint64_t durationMs = TickCountMs() - start;
  StopRecording();
  context.console.EndProgress();
  Summarise(context, ending, durationMs);
  if (ending == Ending::WriteFailed) {
    if (const auto error = RecordingWriteError()) context.console.Error(DescribeWriteFailure(*error, RecordedBytes()));
  } else if (ending == Ending::DeviceRemoved) {
    context.console.Error(StopText(StopRequest::Reason::DeviceRemoved));
  }
}
