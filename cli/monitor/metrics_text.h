// What the exporter serves: one snapshot of the card in the Prometheus text
// exposition format, version 0.0.4. Metric names carry the rx40_ prefix and
// base units; every series has the label adapter, the carrier's series also
// frequency_mhz, polarisation and symbol_rate. A value the driver does not
// report is left out rather than written as 0. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct TunedCarrier {
  int frequencyMHz = 0;
  char polarisation = 'H';
  int symbolRateKs = 0;
};

// The demodulator's description of the carrier, as the panel words it.
struct CarrierInfo {
  std::string system, modulation, fec, rollOff;
  std::optional<int> inputStreamId;
};

struct RecordingCounters {
  std::uint64_t bytes = 0, packets = 0, continuityErrors = 0, syncLosses = 0, overflows = 0;
};

struct MonitorSnapshot {
  std::string adapter;  // "0", "1:1", "sim"
  bool cardPresent = false;
  std::optional<TunedCarrier> carrier;
  bool locked = false;
  std::optional<int> strengthPercent, qualityPercent;
  std::optional<double> marginDb, levelDbm, cnrDb;
  std::optional<CarrierInfo> info;  // only with lock
  std::optional<double> dishAngleDeg;
  std::uint64_t lockLosses = 0;
  std::uint64_t scrapes = 0;
  std::optional<RecordingCounters> recording;
};

// The content type the text is served with.
inline constexpr char kMetricsContentType[] = "text/plain; version=0.0.4; charset=utf-8";

std::string MetricsText(const MonitorSnapshot& snapshot);

// A label value as the format writes it: backslash, double quote and line
// feed escaped.
std::string EscapeLabelValue(const std::string& value);
