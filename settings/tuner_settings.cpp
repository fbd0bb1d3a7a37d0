#include "settings/tuner_settings.h"

#include <cstdio>
#include <cstring>

#include "settings/ini_file.h"
#include "settings/program_folder.h"
#include "settings/settings_keys.h"

namespace {

const std::string kSection(kSettingsSection);


}  // namespace

std::string TunerSettingsPath() { return ProgramFolder() + "/" + std::string(kSettingsFileName); }

TunerSettingsTexts ReadTunerSettings(const std::string& path) {
  const CIniFile file(path);
  auto read = [&](std::string_view key) { return file.GetValue(kSection, std::string(key)); };
  TunerSettingsTexts texts;
  for (std::size_t i = 0; i < kMotorKeys.size(); ++i) texts.motor[i] = read(kMotorKeys[i]);
  texts.frequency = read(kKeyFrequency);
  texts.symbolRate = read(kKeySymbolRate);
  texts.lnbLow = read(kKeyLnbLow);
  texts.lnbHigh = read(kKeyLnbHigh);
  texts.diseqc = read(kKeyDiseqc);
  texts.polarity = read(kKeyPolarity);
  return texts;
}

void WriteTunerSettings(const std::string& path, const TunerSettingsTexts& texts) {
  std::vector<std::pair<std::string, std::string>> entries;
  auto add = [&](std::string_view key, const std::string& value) { entries.emplace_back(key, value); };
  add(kKeyPolarity, texts.polarity);
  add(kKeyDiseqc, texts.diseqc);
  for (std::size_t i = 0; i < kMotorKeys.size(); ++i) add(kMotorKeys[i], texts.motor[i]);
  add(kKeyFrequency, texts.frequency);
  add(kKeySymbolRate, texts.symbolRate);
  add(kKeyLnbLow, texts.lnbLow);
  add(kKeyLnbHigh, texts.lnbHigh);
  // One replacement of the file for all eleven keys.
  if (const int error = CIniFile(path).SetValues(kSection, entries))
    std::fprintf(stderr, "settings: cannot write %s: %s\n", path.c_str(), std::strerror(error));
}
