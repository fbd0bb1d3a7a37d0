// The Tuner Setting page's values as the settings file "Orvane-TScap.ini"
// keeps them: section "Config", eleven keys, every value the text as typed
// (the two indices as the page formats them).
#pragma once

#include <array>
#include <string>

struct TunerSettingsTexts {
  std::string polarity;
  std::string diseqc;
  std::array<std::string, 5> motor;
  std::string frequency;
  std::string symbolRate;
  std::string lnbLow;
  std::string lnbHigh;
};

// The settings file of the program folder.
std::string TunerSettingsPath();

// Missing file, section or key read as empty texts.
TunerSettingsTexts ReadTunerSettings(const std::string& path);
// Writes all eleven keys in their order, whatever changed, in one
// replacement of the file. A failed write is not reported to the operator
// (one debug line); a key that cannot be stored does not stop the others.
void WriteTunerSettings(const std::string& path, const TunerSettingsTexts& texts);
