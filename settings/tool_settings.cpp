#include "settings/tool_settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "settings/ini_file.h"

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

void Ignored(const std::string& path, const char* key, const std::string& value, const char* wanted) {
  std::fprintf(stderr, "settings: %s [%s] %s = %s is not %s; not used\n", path.c_str(), kToolSection, key,
               value.c_str(), wanted);
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
    int value = -1;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
    if (error == std::errc() && end == port.data() + port.size() && value >= 0 && value <= 16)
      settings.uncommittedPort = value;
    else
      Ignored(path, "uncommitted", port, "an input from 0 to 16");
  }
  return settings;
}
