// record: the Capture Control page's recording without the page. Start
// refuses without lock, as "Start Record" does; the limit is checked every
// 100 ms by the page's rules; a stop (SIGINT, a removal) ends it as "Cancel
// Record" does, and every byte received is in the file. FILE "-" is
// standard output (the summary then goes to stderr), where a reader that
// closes the pipe ends the recording as a stop does. --split-mb and
// --split-seconds write the recording in parts.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "cli/commands.h"
#include "platform/com/clock.h"
#include "platform/com/error_info.h"
#include "recording/capture_progress.h"
#include "recording/free_space.h"
#include "recording/record_limit.h"
#include "recording/recording_health.h"
#include "recording/recording_state.h"
#include "tuner/tuner_context.h"

namespace {

// JSON progress readings go out once a second, not on every tick.
constexpr std::uint32_t kTicksPerProgressReading = 1000 / kRecordTickMs;

enum class Ending { LimitReached, Interrupted, DeviceRemoved, WriteFailed, PipeClosed };

const char* EndingName(Ending ending) {
  switch (ending) {
    case Ending::LimitReached: return "limit";
    case Ending::Interrupted: return "interrupted";
    case Ending::DeviceRemoved: return "removed";
    case Ending::WriteFailed: return "write_error";
    case Ending::PipeClosed: return "pipe_closed";
  }
  return "";
}

const char* EndingText(Ending ending) {
  switch (ending) {
    case Ending::LimitReached: return "limit reached";
    case Ending::Interrupted: return "interrupted";
    case Ending::DeviceRemoved: return "a device was removed";
    case Ending::WriteFailed: return "write error";
    case Ending::PipeClosed: return "the reader closed the pipe";
  }
  return "";
}

constexpr std::uint64_t kMiB = 1024 * 1024;

std::string Megabytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / kMiB);
  return text;
}

// How much of the capture ring the recording used, and what it lost.
std::string DescribeRingUse(const CaptureSourceStatus& source) {
  if (source.ringCapacityBytes == 0) return "Ring: none";
  std::string text = "Ring: " + Megabytes(source.ringHighWaterBytes) + " of " +
                     Megabytes(source.ringCapacityBytes) + " used at most";
  if (source.ringOverflows != 0)
    text += ", overflowed " + std::to_string(source.ringOverflows) + " times losing " +
            std::to_string(source.ringLostBytes) + " bytes";
  return text;
}

void ShowProgress(const CommandContext& context, const LimitTick& tick, LimitMode mode, std::uint32_t ticks,
                  SilenceWatch& silence) {
  const RecordingHealth health = ReadRecordingHealth();
  const std::uint32_t silent = silence.Observe(health.bytesWritten, TickCountMs());
  context.console.Progress(RecordingStatus(tick.percent) + "  " + tick.line + RecordingTrouble(health, silent));
  if (!context.console.Json() || ticks % kTicksPerProgressReading != 0) return;
  JsonObject json;
  json.Integer("percent", static_cast<std::int64_t>(tick.percent));
  if (mode == LimitMode::FileSize) json.Integer("kbytes", tick.kbytes);
  else json.Integer("seconds_left", tick.secondsLeft);
  json.Integer("bytes", static_cast<std::int64_t>(health.bytesWritten));
  if (silent != 0) json.Integer("no_data_s", silent);
  context.console.Result("progress", json, "");
}

// Ticks until the limit, a stop or a failed write ends the recording.
Ending RecordUntilEnd(const CommandContext& context) {
  const RecordArguments& record = context.arguments.record;
  const std::uint32_t sizeLimit = record.mode == LimitMode::FileSize ? record.limit : kSizeLimitMB.low;
  const std::uint32_t timeLimit = record.mode == LimitMode::Time ? record.limit : kTimeLimitSeconds.low;
  RecordLimit limit;
  SilenceWatch silence;
  const std::uint64_t startMs = TickCountMs();
  silence.Restart(startMs);
  bool spaceChecked = record.mode == LimitMode::FileSize;
  for (std::uint32_t ticks = 1;; ++ticks) {
    if (context.stop.SleepUnlessStopped(kRecordTickMs))
      return context.stop.Why() == StopRequest::Reason::DeviceRemoved ? Ending::DeviceRemoved : Ending::Interrupted;
    const LimitTick tick = limit.Tick(record.mode, sizeLimit, timeLimit);
    if (const auto error = RecordingWriteError())
      return error->error == EPIPE && record.file == "-" ? Ending::PipeClosed : Ending::WriteFailed;
    if (tick.Reached()) return Ending::LimitReached;
    ShowProgress(context, tick, record.mode, ticks, silence);
    if (!spaceChecked && TickCountMs() - startMs >= kRateMeasureMs) {
      spaceChecked = true;
      const std::uint64_t elapsedMs = TickCountMs() - startMs;
      if (const auto free = FreeBytesFor(record.file))
        if (const auto shortfall =
                SpaceShortfall(record.file, BytesForRestOfTimeLimit(RecordedBytes(), elapsedMs, record.limit), *free))
          context.console.Warning(*shortfall);
    }
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
  std::string ring;
  if (health.sourceReported) {
    const CaptureSourceStatus& source = health.source;
    json.Integer("overflows", static_cast<std::int64_t>(source.AllOverflows()))
        .Integer("device_overflows", static_cast<std::int64_t>(source.overflows))
        .Integer("ring_bytes", static_cast<std::int64_t>(source.ringCapacityBytes))
        .Integer("ring_high_water_bytes", static_cast<std::int64_t>(source.ringHighWaterBytes))
        .Integer("ring_overflows", static_cast<std::int64_t>(source.ringOverflows))
        .Integer("ring_lost_bytes", static_cast<std::int64_t>(source.ringLostBytes));
    if (!source.fault.empty()) json.Text("source_fault", source.fault);
    ring = "\n" + DescribeRingUse(source);
  }
  const std::uint32_t parts = TheRecordingState().Parts();
  const bool split = context.arguments.record.splitMb || context.arguments.record.splitSeconds;
  if (split) json.Integer("parts", parts);
  char duration[32];
  std::snprintf(duration, sizeof duration, "%.1f s", static_cast<double>(durationMs) / 1000.0);
  const std::string into = file == "-" ? "standard output"
                           : split     ? std::to_string(parts) + (parts == 1 ? " part " : " parts ") +
                                         SplitPartPath(file, 1) + (parts > 1 ? " ..." : "")
                                       : file;
  context.console.Result("record", json,
                         "Recorded " + std::to_string(health.bytesWritten) + " bytes in " + duration + " into " + into +
                             " (" + EndingText(ending) + ")\n" + DescribeRecordingHealth(health) + ring);
}

// What the summary shows that makes the recording a failure: data lost
// before the file, or none at all.
void ReportLoss(const CommandContext& context, Ending ending) {
  const RecordingHealth health = ReadRecordingHealth();
  if (health.sourceReported && health.source.AllOverflows() != 0) {
    const CaptureSourceStatus& source = health.source;
    const auto times = [](std::uint64_t n) { return std::to_string(n) + (n == 1 ? " time" : " times"); };
    std::string where;
    if (source.overflows != 0) where = "the card's buffer overflowed " + times(source.overflows);
    if (source.ringOverflows != 0)
      where += (where.empty() ? "" : ", ") + std::string("the capture ring overflowed ") +
               times(source.ringOverflows) + " (--ring-mb sets a larger one)";
    context.console.Error("stream data was lost before it reached the file: " + where);
  }
  if (health.bytesWritten == 0 && ending != Ending::WriteFailed)
    context.console.Error("no data came from the card: nothing was recorded");
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

  const RecordArguments& record = context.arguments.record;
  // A closed pipe is a write error (EPIPE) that ends the recording, not a signal that ends the program.
  if (record.file == "-") signal(SIGPIPE, SIG_IGN);
  SetRecordFilePath(record.file);
  RecordingState::Split split;
  if (record.splitMb) split.bytes = std::uint64_t{*record.splitMb} * kMiB;
  if (record.splitSeconds) split.seconds = *record.splitSeconds;
  SetRecordingSplit(split);
  if (record.mode == LimitMode::FileSize)
    if (const auto free = FreeBytesFor(record.file))
      if (const auto shortfall = SpaceShortfall(record.file, BytesForSizeLimit(record.limit), *free))
        context.console.Warning(*shortfall);
  ClearErrorDescription();
  if (FAILED(StartRecording())) {
    if (const auto error = RecordingCreateError()) {
      context.console.Error(DescribeCreateError(*error));
    } else {  // the file was closed again, empty
      const std::string why = TakeErrorDescription();
      context.console.Error("the receive graph cannot run" + (why.empty() ? "" : ": " + why));
    }
    return;
  }
  const std::uint64_t start = TickCountMs();
  const Ending ending = RecordUntilEnd(context);
  const std::uint64_t durationMs = TickCountMs() - start;
  StopRecording();
  context.console.EndProgress();
  Summarise(context, ending, durationMs);
  ReportLoss(context, ending);
  if (ending == Ending::WriteFailed) {
    if (const auto error = RecordingWriteError()) context.console.Error(DescribeWriteFailure(*error, RecordedBytes()));
  } else if (ending == Ending::DeviceRemoved) {
    context.console.Error(StopText(StopRequest::Reason::DeviceRemoved));
  }
}
