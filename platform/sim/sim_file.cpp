#include "platform/sim/sim_file.h"

#include <set>

#include "platform/sim/ini_values.h"
#include "platform/sim/sky/sky_file.h"

namespace sim {
namespace {

// Sections given twice, and keys given twice where the owner allows none.
bool CheckRepeats(const IniDocument& document, std::string* error) {
  std::set<std::string> sections;
  for (const IniSection& section : document.sections) {
    if (!sections.insert(section.name).second) {
      *error = LineOf(section) + "section [" + section.name + "] given twice";
      return false;
    }
    if (IsSkySection(section.name)) continue;  // the sky checks its own keys
    std::set<std::string> keys;
    for (const IniEntry& e : section.entries) {
      if (!keys.insert(e.key).second) {
        *error = LineOf(e) + "key \"" + e.key + "\" given twice in [" + section.name + "]";
        return false;
      }
    }
  }
  return true;
}

}  // namespace

std::optional<SimConfig> ParseSimConfig(const IniDocument& document, std::string* error) {
  if (!CheckRepeats(document, error)) return std::nullopt;
  SimConfig config;
  IniDocument cardSections;
  std::vector<IniSection> skySections;
  for (const IniSection& section : document.sections) {
    if (section.name == "card" || section.name == "faults") {
      cardSections.sections.push_back(section);
    } else if (IsSkySection(section.name)) {
      skySections.push_back(section);
    } else if (section.name == "driver") {
      auto driver = ParseDriverOptions(section, error);
      if (!driver) return std::nullopt;
      config.driver = *driver;
    } else if (section.name == "stream") {
      auto stream = ParseStreamOptions(section, error);
      if (!stream) return std::nullopt;
      config.stream = *stream;
    } else if (section.name == "motor") {
      auto motor = ParseMotorOptions(section, error);
      if (!motor) return std::nullopt;
      config.motor = *motor;
    } else {
      *error = LineOf(section) + "unknown section [" + section.name + "]";
      return std::nullopt;
    }
  }
  auto card = ParseSimCardOptions(cardSections, error);
  if (!card) return std::nullopt;
  config.card = *card;
  if (!skySections.empty()) {
    SkyFileResult sky = ParseSky(skySections);
    if (!sky.ok()) {
      *error = sky.error;
      return std::nullopt;
    }
    config.sky = std::move(sky.sky);
  }
  return config;
}

std::optional<SimConfig> ParseSimText(const std::string& text, std::string* error) {
  const auto document = ParseIni(text, error);
  if (!document) return std::nullopt;
  return ParseSimConfig(*document, error);
}

std::optional<SimConfig> ReadSimFile(const std::string& path, std::string* error) {
  const auto document = ReadIniFile(path, error);  // its errors name the path
  if (!document) return std::nullopt;
  auto config = ParseSimConfig(*document, error);
  if (!config) *error = path + ": " + *error;
  return config;
}

}  // namespace sim
