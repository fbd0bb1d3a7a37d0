#include "cli/monitor/metrics_text.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Number(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
  char text[40];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

class Exposition {
 public:
  explicit Exposition(std::string labels) : m_labels(std::move(labels)) {}

  void Family(const char* name, const char* type, const char* help) {
    m_text += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
  }
  void Sample(const char* name, double value, const std::string& extraLabels = "") {
    m_text += std::string(name) + "{" + m_labels + extraLabels + "} " + Number(value) + "\n";
  }
  // A family of one sample, written only when the value is known.
  void Gauge(const char* name, const char* help, const std::optional<double>& value) {
    if (!value) return;
    Family(name, "gauge", help);
    Sample(name, *value);
  }
  void Counter(const char* name, const char* help, std::uint64_t value) {
    Family(name, "counter", help);
    Sample(name, static_cast<double>(value));
  }
  const std::string& Text() const { return m_text; }

 private:
  std::string m_labels;
  std::string m_text;
};

std::string Label(const char* name, const std::string& value) {
  return std::string(",") + name + "=\"" + EscapeLabelValue(value) + "\"";
}

std::optional<double> Maybe(const std::optional<int>& value) {
  return value ? std::optional<double>(*value) : std::nullopt;
}

}  // namespace

std::string EscapeLabelValue(const std::string& value) {
  std::string escaped;
  for (const char c : value) {
    if (c == '\\') escaped += "\\\\";
    else if (c == '"') escaped += "\\\"";
    else if (c == '\n') escaped += "\\n";
    else escaped += c;
  }
  return escaped;
}

std::string MetricsText(const MonitorSnapshot& s) {
  const std::string adapter = "adapter=\"" + EscapeLabelValue(s.adapter) + "\"";
  Exposition card(adapter);
  card.Family("rx40_card_present", "gauge", "Whether the card is there and its driver answers (1) or not (0).");
  card.Sample("rx40_card_present", s.cardPresent ? 1 : 0);
  card.Counter("rx40_scrapes_total", "Scrapes of this exporter served.", s.scrapes);
  card.Counter("rx40_lock_losses_total", "Times the lock was lost since the exporter started.", s.lockLosses);
  card.Gauge("rx40_dish_angle_degrees", "The dish positioner's angle from its reference, west positive.",
             s.dishAngleDeg);
  std::string text = card.Text();

  // The carrier's series; without a tune there is no carrier to name.
  std::string carrierLabels = adapter;
  if (s.carrier) {
    carrierLabels += Label("frequency_mhz", std::to_string(s.carrier->frequencyMHz)) +
                     Label("polarisation", std::string(1, s.carrier->polarisation)) +
                     Label("symbol_rate", std::to_string(s.carrier->symbolRateKs));
  }
  Exposition carrier(carrierLabels);
  carrier.Family("rx40_locked", "gauge", "Whether the demodulator is locked to the carrier (1) or not (0).");
  carrier.Sample("rx40_locked", s.cardPresent && s.locked ? 1 : 0);
  if (s.cardPresent) {
    carrier.Gauge("rx40_signal_strength_percent", "Signal strength as the driver reports it, 0 to 100.",
                  Maybe(s.strengthPercent));
    carrier.Gauge("rx40_signal_quality_percent", "Signal quality as the driver reports it, 0 to 100.",
                  Maybe(s.qualityPercent));
    carrier.Gauge("rx40_link_margin_db", "Carrier-to-noise above what the carrier's modulation and code rate need, dB.",
                  s.marginDb);
    carrier.Gauge("rx40_signal_dbm", "Signal level at the tuner input, dBm.", s.levelDbm);
    carrier.Gauge("rx40_cnr_db", "Carrier-to-noise ratio, dB.", s.cnrDb);
    if (s.info && s.locked) {
      carrier.Family("rx40_info", "gauge", "The carrier as the demodulator decodes it (always 1).");
      carrier.Sample("rx40_info", 1,
                     Label("system", s.info->system) + Label("modulation", s.info->modulation) +
                         Label("fec", s.info->fec) + Label("roll_off", s.info->rollOff) +
                         Label("isi", s.info->inputStreamId ? std::to_string(*s.info->inputStreamId) : ""));
    }
  }
  text += carrier.Text();

  if (s.recording) {
    Exposition recording(carrierLabels);
    const RecordingCounters& r = *s.recording;
    recording.Counter("rx40_recorded_bytes_total", "Bytes written to the recording.", r.bytes);
    recording.Counter("rx40_recorded_packets_total", "Transport stream packets written to the recording.", r.packets);
    recording.Counter("rx40_continuity_errors_total", "Continuity counter jumps in the recorded stream.",
                      r.continuityErrors);
    recording.Counter("rx40_sync_losses_total", "Losses of packet sync in the recorded stream.", r.syncLosses);
    recording.Counter("rx40_overflows_total", "Times stream data was lost before the file (device or ring).",
                      r.overflows);
    text += recording.Text();
  }
  return text;
}
