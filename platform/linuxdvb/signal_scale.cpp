#include "platform/linuxdvb/signal_scale.h"

#include <algorithm>
#include <cmath>

namespace linuxdvb {
namespace {

int Clamp(double percent) { return static_cast<int>(std::lround(std::clamp(percent, 0.0, 100.0))); }

int RelativePercent(std::uint64_t value) { return Clamp(static_cast<double>(std::min<std::uint64_t>(value, 65535)) * 100.0 / 65535.0); }

// The global value (index 0) of a measure, in percent; decibels mapped
// linearly from zeroAtDb (0) with pointsPerDb.
std::optional<int> Percent(const dtv_fe_stats& stats, double zeroAtDb, double pointsPerDb) {
  if (stats.len == 0) return std::nullopt;
  const dtv_stats& global = stats.stat[0];
  switch (global.scale) {
    case FE_SCALE_DECIBEL: return Clamp((static_cast<double>(global.svalue) / 1000.0 - zeroAtDb) * pointsPerDb);
    case FE_SCALE_RELATIVE: return RelativePercent(global.uvalue);
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<int> StrengthPercent(const dtv_fe_stats& stats) { return Percent(stats, -75.0, 2.0); }

std::optional<int> CarrierToNoisePercent(const dtv_fe_stats& stats) { return Percent(stats, 0.0, 5.0); }

int LegacyPercent(std::uint16_t value) { return RelativePercent(value); }

int QualityFromMargin(double marginDb) { return Clamp((marginDb + 3.0) * 10.0); }

std::optional<double> DecibelValue(const dtv_fe_stats& stats) {
  if (stats.len == 0 || stats.stat[0].scale != FE_SCALE_DECIBEL) return std::nullopt;
  return static_cast<double>(stats.stat[0].svalue) / 1000.0;
}

std::optional<std::uint64_t> CounterValue(const dtv_fe_stats& stats) {
  if (stats.len == 0 || stats.stat[0].scale != FE_SCALE_COUNTER) return std::nullopt;
  // The kernel's record is packed: copy the value out, no reference to it.
  const std::uint64_t value = stats.stat[0].uvalue;
  return value;
}

}  // namespace linuxdvb
