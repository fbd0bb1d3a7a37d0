// monitor: a Prometheus exporter for one card. The card is read once a
// second on the command's thread (as the window's monitor reads it, so a
// lock lost between two scrapes is still counted); scrapes are served on
// the server's threads from the last reading and never reach the driver.
// When the card goes (removed, or its driver stops answering) the exporter
// serves rx40_card_present 0 and tries the card again every few seconds,
// retuning it when it is back. SIGTERM or Ctrl-C ends it, exit status 0.
#include <mutex>

#include "app/media_info_text.h"
#include "app/signal_history.h"
#include "cli/commands.h"
#include "cli/monitor/metrics_server.h"
#include "cli/monitor/metrics_text.h"
#include "platform/com/clock.h"
#include "platform/ui/message_box.h"
#include "recording/recording_health.h"
#include "recording/recording_state.h"
#include "settings/tuner_settings.h"
#include "tuner/tuner_context.h"

namespace {

constexpr std::uint32_t kReadingIntervalMs = 1000;
constexpr std::uint32_t kRetryIntervalMs = 3000;
// Readings that fail in a row before the driver counts as gone.
constexpr int kFailedReadingsForGone = 3;

// The snapshot the scrapes read, written once a second.
class SharedSnapshot {
 public:
  void Publish(const MonitorSnapshot& snapshot) {
    std::lock_guard lock(m_mutex);
    const std::uint64_t scrapes = m_snapshot.scrapes;
    m_snapshot = snapshot;
    m_snapshot.scrapes = scrapes;
  }
  std::string Scrape() {
    std::lock_guard lock(m_mutex);
    ++m_snapshot.scrapes;
    return MetricsText(m_snapshot);
  }

 private:
  std::mutex m_mutex;
  MonitorSnapshot m_snapshot;
};

// The card's boxes while it is being looked for again: kept, not shown, so
// that a card still missing does not fail the exporter; each new reason is
// said once as a warning.
class QuietBoxes final : public MessageBoxService {
 public:
  int Show(const MessageBoxRequest& request) override {
    std::lock_guard lock(m_mutex);
    m_last = request.detail.empty() ? request.text : request.text + ": " + request.detail;
    return IDOK;
  }
  std::string Take() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_last, std::string());
  }

 private:
  std::mutex m_mutex;
  std::string m_last;
};

std::string AdapterLabel(const CommandLine& common) {
  if (common.simulate) return "sim";
  if (!common.adapter) return "auto";
  return std::to_string(*common.adapter) + (common.frontend ? ":" + std::to_string(*common.frontend) : "");
}

std::optional<CarrierInfo> InfoOf(const CardReading& reading) {
  if (!reading.media) return std::nullopt;
  const TUNER_MEDIA_INFO& media = *reading.media;
  CarrierInfo info;
  if (const auto delivery = DeliveryTexts(media.Standard, media.Modcod, media.DvbsCodeRate)) {
    info.system = delivery->system;
    info.fec = delivery->codeRate;
  }
  info.modulation = ModulationText(media.Modulation);
  info.rollOff = RollOffText(media.RollOff);
  if (media.SingleInputStream == 0) info.inputStreamId = static_cast<int>(media.InputStreamId);
  return info;
}

RecordingCounters CountersOf(const RecordingHealth& health) {
  RecordingCounters counters;
  counters.bytes = health.bytesWritten;
  counters.packets = health.PacketsInFile();
  counters.continuityErrors = health.streamCounted ? health.stream.continuityErrors : 0;
  counters.syncLosses = health.streamCounted ? health.stream.syncLosses : 0;
  counters.overflows = health.sourceReported ? health.source.AllOverflows() : 0;
  return counters;
}

class Monitor {
 public:
  explicit Monitor(const CommandContext& context) : m_context(context) {
    m_snapshot.adapter = AdapterLabel(context.arguments.common);
  }

  void Run(SharedSnapshot& shared);

 private:
  bool OpenCard(bool first);
  void CloseCard();
  void Read();
  void StartRecordingOnce();

  const CommandContext& m_context;
  std::unique_ptr<CardSession> m_card;
  std::optional<TuneTarget> m_target;
  MonitorSnapshot m_snapshot;
  int m_failedReadings = 0;
  bool m_recordingStarted = false;
  bool m_recording = false;
  bool m_everOpened = false;
  bool m_everLocked = false;
  std::string m_lastRefusal;
};

bool Monitor::OpenCard(bool first) {
  m_card = std::make_unique<CardSession>(m_context.console, m_context.stop, CardSession::OnRemoval::MarkRemoved);
  if (!m_card->Open(m_context.arguments.common) || m_card->Removed()) {
    m_card.reset();
    return false;
  }
  if (m_target) {
    // The first tune is reported and saved as every tune is; a retune after
    // the card came back is the same transponder again.
    const std::optional<TuneResult> tuned =
        first ? TuneCard(m_context, *m_card, *m_target) : SubmitTune(m_context, *m_card, *m_target);
    if (!tuned) {
      m_card.reset();
      return false;
    }
  }
  m_failedReadings = 0;
  m_snapshot.cardPresent = true;
  return true;
}

void Monitor::CloseCard() {
  if (m_recording) {
    // The recording keeps every byte it got; it does not start again.
    StopRecording();
    m_recording = false;
    m_context.console.Warning("the recording ended with the card: " + std::to_string(RecordedBytes()) + " bytes");
  }
  m_card.reset();
  m_snapshot.cardPresent = false;
  m_snapshot.locked = false;
}

void Monitor::Read() {
  const std::optional<CardReading> reading = ReadCard();
  if (!reading) {
    if (++m_failedReadings >= kFailedReadingsForGone) {
      m_context.console.Warning("the card's driver stopped answering; looking for the card again");
      CloseCard();
    }
    m_snapshot.locked = false;
    return;
  }
  m_failedReadings = 0;
  const SignalReading& signal = reading->signal;
  if (m_snapshot.locked && !signal.Locked()) ++m_snapshot.lockLosses;
  // Each change of lock goes to the log (a service's journal) as well.
  if (signal.Locked() != m_snapshot.locked && (m_everLocked || signal.Locked())) {
    m_context.console.Result("lock", JsonObject().Bool("locked", signal.Locked()).Integer("quality", signal.quality),
                             signal.Locked() ? "LOCKED (quality " + std::to_string(signal.quality) + ")" : "lock lost");
  }
  m_everLocked = m_everLocked || signal.Locked();
  m_snapshot.locked = signal.Locked();
  m_snapshot.strengthPercent = ReadingPercent(signal.strength);
  m_snapshot.qualityPercent = ReadingPercent(signal.quality);
  m_snapshot.marginDb = signal.marginDb;
  m_snapshot.levelDbm = signal.measured.levelDbm;
  m_snapshot.cnrDb = signal.measured.cnrDb;
  m_snapshot.info = signal.Locked() ? InfoOf(*reading) : std::nullopt;
  m_snapshot.dishAngleDeg = reading->dish ? std::optional(reading->dish->angleDeg) : std::nullopt;
}

void Monitor::StartRecordingOnce() {
  const MonitorArguments& monitor = m_context.arguments.monitor;
  if (monitor.recordFile.empty() || m_recordingStarted || !m_snapshot.locked) return;
  m_recordingStarted = true;
  SetRecordFilePath(monitor.recordFile);
  RecordingState::Split split;
  if (monitor.splitMb) split.bytes = std::uint64_t{*monitor.splitMb} * 1024 * 1024;
  if (monitor.splitSeconds) split.seconds = *monitor.splitSeconds;
  SetRecordingSplit(split);
  if (FAILED(StartRecording())) {
    m_context.console.Error(RecordingCreateError() ? DescribeCreateError(*RecordingCreateError())
                                                   : "the recording cannot start");
    return;
  }
  m_recording = true;
}

void Monitor::Run(SharedSnapshot& shared) {
  const TuneArguments& asked = m_context.arguments.tune;
  const TunerSettingsTexts saved = ReadTunerSettings(TunerSettingsPath());
  // Without a transponder given or saved, the card is read as it is.
  if (asked.frequencyMHz || !saved.frequency.empty()) {
    std::string error;
    m_target = ResolveTuneTarget(asked, saved, &error);
    if (!m_target) {
      m_context.console.UsageError(error);
      return;
    }
  }
  m_snapshot.carrier = m_target ? std::optional(TunedCarrier{m_target->params.frequency,
                                                             m_target->params.polarisation == 0 ? 'H' : 'V',
                                                             m_target->params.symbolRate})
                                : std::nullopt;
  QuietBoxes quiet;
  std::uint64_t nextRetry = 0;
  while (!m_context.stop.Requested()) {
    if (m_card && m_card->Removed()) {
      m_context.console.Warning("the card was removed; looking for it again");
      CloseCard();
      nextRetry = TickCountMs() + kRetryIntervalMs;
    }
    if (m_card) {
      Read();
      StartRecordingOnce();
      // Gone in this reading: looked for again after a pause, not at once.
      if (!m_card) nextRetry = TickCountMs() + kRetryIntervalMs;
    } else if (TickCountMs() >= nextRetry) {
      // A missing card (at start too: a service may start before its
      // adapter) is looked for again; its boxes are kept quiet, each new
      // reason said once.
      const auto shown = SetMessageBoxService(std::shared_ptr<MessageBoxService>(&quiet, [](MessageBoxService*) {}));
      const bool back = OpenCard(!m_everOpened);
      SetMessageBoxService(shown);
      if (m_context.console.ExitStatus() == kExitUsage) return;  // a FILE or option that cannot work
      if (const std::string why = quiet.Take(); !why.empty() && why != m_lastRefusal) {
        m_context.console.Warning(why + "; looking for the card every " + std::to_string(kRetryIntervalMs / 1000) + " s");
        m_lastRefusal = why;
      }
      if (back && m_everOpened) m_context.console.Warning("the card is back" + std::string(m_target ? " and retuned" : ""));
      if (back) m_everOpened = true;
      nextRetry = TickCountMs() + kRetryIntervalMs;
    }
    if (m_recording || m_recordingStarted) m_snapshot.recording = CountersOf(ReadRecordingHealth());
    shared.Publish(m_snapshot);
    m_context.stop.SleepUnlessStopped(kReadingIntervalMs);
  }
  if (m_recording) StopRecording();
}

}  // namespace

void RunMonitor(const CommandContext& context) {
  const MonitorArguments& monitor = context.arguments.monitor;
  SharedSnapshot shared;
  MetricsServer server([&shared] { return shared.Scrape(); });
  std::string error;
  if (!server.Start(monitor.listen, &error)) {
    context.console.Error(error);
    return;
  }
  const std::string url = "http://" + (monitor.listen.host.find(':') != std::string::npos
                                           ? "[" + monitor.listen.host + "]"
                                           : monitor.listen.host) +
                          ":" + std::to_string(server.Port()) + "/metrics";
  context.console.Result("monitor", JsonObject().Text("url", url).Integer("port", server.Port()), "serving " + url);
  Monitor(context).Run(shared);
  server.Stop();
}
