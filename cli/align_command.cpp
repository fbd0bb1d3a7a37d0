// align: the alignment view in a terminal, for an installer at the dish
// with a laptop or over SSH. Tunes, then reads the signal every interval:
// on a terminal one redrawn line (a bar of the quality, the current values
// and the held peak) and a bell at each new peak; otherwise one line (or
// JSON object) per reading. Ctrl-C ends it with the peak.
#include <sys/time.h>

#include <cstdio>
#include <ctime>

#include "app/peak_hold.h"
#include "cli/commands.h"
#include "platform/com/clock.h"

namespace {

constexpr int kBarWidth = 20;

std::int64_t WallClockMs() {
  timeval now{};
  gettimeofday(&now, nullptr);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_usec / 1000;
}

std::string TimeOfDay(std::int64_t wallClockMs) {
  const std::time_t seconds = static_cast<std::time_t>(wallClockMs / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

std::string MarginText(const std::optional<double>& marginDb) {
  if (!marginDb) return "margin n/a";
  char text[32];
  std::snprintf(text, sizeof text, "margin %.1f dB", *marginDb);
  return text;
}

std::string PeakText(const std::optional<HeldPeak>& peak) {
  if (!peak) return "no peak yet";
  const SignalSample& at = peak->sample;
  return "peak Q " + std::to_string(ReadingPercent(at.quality)) + "% at " + TimeOfDay(peak->wallClockMs) + " (S " +
         std::to_string(ReadingPercent(at.strength)) + "%, " + MarginText(at.marginDb) + ")";
}

// "[##############------] Q 70% S 85% margin 4.3 dB LOCKED | peak Q 72% at 14:03:12 (...)"
std::string AlignLine(const SignalSample& sample, const std::optional<HeldPeak>& peak) {
  const int quality = ReadingPercent(sample.quality);
  const int filled = quality * kBarWidth / 100;
  return "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "] Q " + std::to_string(quality) +
         "% S " + std::to_string(ReadingPercent(sample.strength)) + "% " + MarginText(sample.marginDb) +
         (sample.locked ? " LOCKED" : " UNLOCKED") + " | " + PeakText(peak);
}

JsonObject AlignJson(const SignalSample& sample, const std::optional<HeldPeak>& peak, bool newPeak) {
  JsonObject json;
  json.Bool("locked", sample.locked)
      .Integer("strength", ReadingPercent(sample.strength))
      .Integer("quality", ReadingPercent(sample.quality));
  if (sample.marginDb) json.Real("margin_db", *sample.marginDb, 2);
  json.Bool("new_peak", newPeak);
  if (peak) {
    JsonObject held;
    held.Integer("quality", ReadingPercent(peak->sample.quality))
        .Integer("strength", ReadingPercent(peak->sample.strength))
        .Text("time", TimeOfDay(peak->wallClockMs));
    if (peak->sample.marginDb) held.Real("margin_db", *peak->sample.marginDb, 2);
    json.Object("peak", held);
  }
  return json;
}

}  // namespace

void RunAlign(const CommandContext& context) {
  const std::optional<TuneTarget> target = ResolveTarget(context);
  if (!target) return;
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  if (!TuneCard(context, card, *target)) return;
  Console& console = context.console;
  // On a terminal the line is redrawn in place; elsewhere every reading is a line.
  const bool redraw = console.ShowsProgress() && !console.Json();
  PeakHold peak;
  while (!context.stop.Requested()) {
    if (const std::optional<SignalReading> reading = ReadSignal()) {
      const SignalSample sample{TickCountMs(), reading->quality, reading->strength, reading->Locked(),
                                reading->marginDb};
      const bool newPeak = peak.Add(sample, WallClockMs());
      if (redraw) console.Progress(AlignLine(sample, peak.Peak()) + (newPeak ? "\a" : ""));
      else console.Result("align", AlignJson(sample, peak.Peak(), newPeak), AlignLine(sample, peak.Peak()));
    } else {
      console.Error("the tuner's signal statistics cannot be read");
      break;
    }
    if (context.stop.SleepUnlessStopped(context.arguments.align.intervalMs)) break;
  }
  console.EndProgress();
  if (context.stop.Why() == StopRequest::Reason::DeviceRemoved) {
    console.Error(StopText(context.stop.Why()));
    return;
  }
  JsonObject json;
  if (const auto& held = peak.Peak()) json = AlignJson(held->sample, held, false);
  console.Result("align_peak", json, PeakText(peak.Peak()));
}
