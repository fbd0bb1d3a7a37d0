// tune and status, and the tuning step record shares.
#include <cstdio>

#include "cli/commands.h"
#include "platform/com/clock.h"
#include "settings/tuner_settings.h"
#include "tuner/tuner_context.h"
#include "tuner/tuner_extension.h"

namespace {

std::string SecondsText(std::uint64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
  return text;
}

const char* PortName(int port) {
  static constexpr const char* kNames[] = {"none", "A", "B", "C", "D"};
  return port >= 0 && port <= 4 ? kNames[port] : "none";
}

JsonObject TargetJson(const TuneTarget& target, const TuneOutcome& outcome, const TUNER_STREAMTYPE_PARAMS& stream) {
  JsonObject json;
  json.Integer("frequency_mhz", target.params.frequency)
      .Integer("symbol_rate_ks", target.params.symbolRate)
      .Text("polarisation", target.params.polarisation == 0 ? "H" : "V")
      .Integer("lnb_low_mhz", target.params.lnbLow)
      .Integer("lnb_high_mhz", target.params.lnbHigh)
      .Text("band", outcome.highBand ? "high" : "low")
      .Text("diseqc", PortName(target.diseqcPort))
      .Text("stream", stream.GenericStream ? "gs" : "ts");
  if (target.inputStreamId) json.Integer("isi", *target.inputStreamId);
  return json;
}

}  // namespace

const char* StopText(StopRequest::Reason reason) {
  return reason == StopRequest::Reason::DeviceRemoved
             ? "stopped: a device was removed (the card, a storage volume or a serial port)"
             : "interrupted";
}

std::optional<TuneTarget> ResolveTarget(const CommandContext& context) {
  std::string error;
  auto target = ResolveTuneTarget(context.arguments.tune, ReadTunerSettings(TunerSettingsPath()), &error);
  if (!target) context.console.UsageError(error);
  return target;
}

std::optional<TuneTarget> ResolveListedTarget(const CommandContext& context, const ListedTransponder& listed) {
  TuneArguments arguments = context.arguments.tune;
  arguments.frequencyMHz = listed.frequencyMHz;
  arguments.symbolRateKs = listed.symbolRateKs;
  arguments.polarity = listed.Polarity();
  std::string error;
  auto target = ResolveTuneTarget(arguments, ReadTunerSettings(TunerSettingsPath()), &error);
  if (!target) context.console.UsageError(error);
  return target;
}

std::optional<TuneResult> SubmitTune(const CommandContext& context, const CardSession& card, const TuneTarget& target) {
  // Without a choice the card keeps delivering what it delivers, as the
  // page starts from the driver's stream type.
  TuneResult result;
  if (target.stream) result.stream = *target.stream == OutputStream::TransportStream ? TUNER_STREAMTYPE_PARAMS{1, 0}
                                                                                    : TUNER_STREAMTYPE_PARAMS{0, 1};
  else GetStreamTypeParams(nullptr, &result.stream);

  if (target.inputStreamId) {
    if (!TheTunerContext().m_pKsCtrl) {
      context.console.Error("no input stream selected: the tuner offers no driver property set");
      return std::nullopt;
    }
    if (!ApplyInputStreamId(nullptr, *target.inputStreamId)) return std::nullopt;
    Sleep(kInputStreamRetuneDelayMs);  // as after the window's "Apply"
  }

  const TuneArguments& asked = context.arguments.tune;
  TuneChoices choices =
      WithToolSettings({target.diseqcPort, result.stream}, ReadToolSettings(TunerSettingsPath()));
  if (asked.burst) choices.burst = *asked.burst;
  if (asked.uncommittedPort) choices.uncommittedPort = *asked.uncommittedPort;
  choices.plsGold = asked.plsGold;
  result.outcome = LockTransponder(nullptr, card.TuningSpace(), target.params, choices);
  if (!result.outcome.submitted) return std::nullopt;
  result.wait = WaitForLock(asked.timeoutMs, context.stop);
  return result;
}

std::optional<TuneResult> TuneCard(const CommandContext& context, const CardSession& card, const TuneTarget& target) {
  // Saved first, as "Lock TP" saves the page, so that the next command
  // without values (or the window) tunes the same.
  WriteTunerSettings(TunerSettingsPath(), target.settings);
  const std::optional<TuneResult> tuned = SubmitTune(context, card, target);
  if (!tuned) return std::nullopt;
  const TuneResult& result = *tuned;
  const TUNER_STREAMTYPE_PARAMS& stream = result.stream;

  JsonObject json = TargetJson(target, result.outcome, stream);
  json.Bool("locked", result.wait.locked)
      .Integer("strength", result.wait.last.strength)
      .Integer("quality", result.wait.last.quality)
      .Real("seconds", static_cast<double>(result.wait.elapsedMs) / 1000.0, 1);
  const std::string carrier = CarrierText(target.params);
  const std::string signal =
      " (strength " + std::to_string(result.wait.last.strength) + ", quality " + std::to_string(result.wait.last.quality) + ")";
  context.console.Result("tune", json,
                         result.wait.locked ? "LOCKED on " + carrier + " after " + SecondsText(result.wait.elapsedMs) + signal
                                            : "UNLOCKED on " + carrier + " after " + SecondsText(result.wait.elapsedMs) + signal);
  return result;
}

void RunTune(const CommandContext& context) {
  const std::optional<TuneTarget> target = ResolveTarget(context);
  if (!target) return;
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  const std::optional<TuneResult> tuned = TuneCard(context, card, *target);
  if (!tuned || tuned->wait.locked) return;
  if (context.stop.Requested()) context.console.Error(StopText(context.stop.Why()));
  else if (tuned->wait.unreadable) context.console.Error("the tuner's signal statistics cannot be read");
  else
    context.console.Error("no lock on " + CarrierText(target->params) + " within " +
                          SecondsText(context.arguments.tune.timeoutMs));
}

void RunStatus(const CommandContext& context) {
  const std::optional<TuneTarget> target = ResolveTarget(context);
  if (!target) return;
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  if (!TuneCard(context, card, *target)) return;
  const StatusArguments& status = context.arguments.status;
  const std::uint64_t start = TickCountMs();
  // A reading while nothing stops the command; with --watch, one every
  // interval until SIGINT.
  while (context.stop.Why() != StopRequest::Reason::DeviceRemoved) {
    if (const std::optional<CardReading> reading = ReadCard()) {
      JsonObject json = ReadingJson(*reading);
      json.Real("elapsed_s", static_cast<double>(TickCountMs() - start) / 1000.0, 1);
      context.console.Result("status", json, ReadingText(*reading));
    } else {
      context.console.Error("the tuner's signal statistics cannot be read");
    }
    if (!status.watch || context.stop.Requested() || context.stop.SleepUnlessStopped(status.intervalMs)) break;
  }
  if (context.stop.Why() == StopRequest::Reason::DeviceRemoved) context.console.Error(StopText(context.stop.Why()));
}
