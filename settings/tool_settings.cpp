#include "settings/tool_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "platform/media/capture_ring_size.h"
#include "settings/ini_file.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// A whole number from 0 to max, or none.
std::optional<unsigned> WholeNumber(const std::string& text, unsigned max) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

std::optional<double> MotorSpeed(const std::string& text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() || !(value >= 0.1 && value <= 10.0)) return std::nullopt;
  return value;
}

void Ignored(const std::string& path, const char* key, const std::string& value, const std::string& wanted) {
  std::fprintf(stderr, "settings: %s [%s] %s = %s is not %s; not used\n", path.c_str(), kToolSection, key,
               value.c_str(), wanted.c_str());
}

}  // namespace

std::optional<ToneBurstInput> ParseToneBurst(const std::string& text) {
  const std::string lower = Lower(text);
  if (lower == "a") return ToneBurstInput::A;
  if (lower == "b") return ToneBurstInput::B;
  if (lower == "none") return ToneBurstInput::None;
  return std::nullopt;
}

ToolSettings ReadToolSettings(const std::string& path) {
  const CIniFile file(path);
  ToolSettings settings;
  if (const std::string burst = file.GetValue(kToolSection, "burst"); !burst.empty()) {
    if (const auto parsed = ParseToneBurst(burst)) settings.burst = *parsed;
    else Ignored(path, "burst", burst, "none, A or B");
  }
  if (const std::string port = file.GetValue(kToolSection, "uncommitted"); !port.empty()) {
    if (const auto value = WholeNumber(port, 16)) settings.uncommittedPort = static_cast<int>(*value);
    else Ignored(path, "uncommitted", port, "an input from 0 to 16");
  }
  if (const std::string ring = file.GetValue(kToolSection, "ring_mb"); !ring.empty()) {
    settings.ringMb = WholeNumber(ring, kMaxCaptureRingMb);
    if (!settings.ringMb) Ignored(path, "ring_mb", ring, "a size in MiB from 0 to " + std::to_string(kMaxCaptureRingMb));
  }
  if (const std::string speed = file.GetValue(kToolSection, "motor_speed"); !speed.empty()) {
    if (const auto value = MotorSpeed(speed)) settings.motorSpeedDegPerSecond = *value;
    else Ignored(path, "motor_speed", speed, "degrees per second from 0.1 to 10");
  }
  return settings;
}
