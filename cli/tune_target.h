// What rx40ctl tunes: the transponder and choices from the command line,
// and whatever it does not give from the settings file the window keeps
// ("Orvane-TScap.ini", as the last "Lock TP" or tune saved it), read with
// the Tuner Setting page's rules: the texts as typed, converted with atoi,
// and a polarity or port index outside its list as no selection (-1). Pure.
#pragma once

#include <optional>
#include <string>

#include "cli/cli_arguments.h"
#include "settings/tuner_settings.h"
#include "tuner/band_decision.h"

struct TuneTarget {
  TransponderParams params{};
  int polarity = 0;    // 0 horizontal, 1 vertical, -1 none (tunes vertical, as the page does)
  int diseqcPort = 0;  // 0 none, 1..4 ports A..D, -1 none selected
  std::optional<OutputStream> stream;  // none: keep what the card delivers
  std::optional<int> inputStreamId;
  // The settings file after this tune: the saved texts with the tune's
  // values in place, motor bytes untouched.
  TunerSettingsTexts settings;
};

// None, with the missing values named, when neither the arguments nor the
// file give a frequency, symbol rate or LNB oscillator.
std::optional<TuneTarget> ResolveTuneTarget(const TuneArguments& arguments, const TunerSettingsTexts& saved,
                                            std::string* error);

// "11362 H 22000": frequency, polarisation and symbol rate, as the
// simulated card's test card names a carrier.
std::string CarrierText(const TransponderParams& params);
