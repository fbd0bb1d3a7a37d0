#include "settings/tuner_settings.h"

#include <cstdio>
#include <cstring>

#include "settings/ini_file.h"
#include "settings/program_folder.h"
#include "settings/settings_keys.h"

namespace {

const std::string kSection(kSettingsSection);

void Write(CIniFile& file, std::string_view key, const std::string& value) {
  if (const int error = file.SetValue(kSection, std::string(key), value); error != 0)
    std::fprintf(stderr, "settings: cannot write %s to %s: %s\n", std::string(key).c_str(), file.Path().c_str(),
                 std::strerror(error));
}

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
  CIniFile file(path);
  Write(file, kKeyPolarity, texts.polarity);
  Write(file, kKeyDiseqc, texts.diseqc);
  for (std::size_t i = 0; i < kMotorKeys.size(); ++i) Write(file, kMotorKeys[i], texts.motor[i]);
  Write(file, kKeyFrequency, texts.frequency);
  Write(file, kKeySymbolRate, texts.symbolRate);
  Write(file, kKeyLnbLow, texts.lnbLow);
  Write(file, kKeyLnbHigh, texts.lnbHigh);
}
