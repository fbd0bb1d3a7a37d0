#include "cli/tune_target.h"

#include <vector>

#include "tuner/text_numbers.h"
#include "tuner/transponder_tuning.h"

namespace {

constexpr int kPolarityEntries = 2;  // "Horizontal", "Vertical"
constexpr int kDiseqcEntries = 5;    // "Diseqc NULL", "Diseqc A" .. "Diseqc D"

// The page's combo box rule: an index that names no entry selects nothing.
int Selection(const std::string& savedIndex, int entries) {
  const int index = AtoiText(savedIndex);
  return index >= 0 && index < entries ? index : -1;
}

// The given value as the text it is saved as, else the saved text.
std::string TextOf(const std::optional<std::int32_t>& given, const std::string& saved) {
  return given ? std::to_string(*given) : saved;
}

}  // namespace

std::optional<TuneTarget> ResolveTuneTarget(const TuneArguments& arguments, const TunerSettingsTexts& saved,
                                            std::string* error) {
  TuneTarget target;
  target.settings = saved;
  TunerSettingsTexts& texts = target.settings;
  texts.frequency = TextOf(arguments.frequencyMHz, saved.frequency);
  texts.symbolRate = TextOf(arguments.symbolRateKs, saved.symbolRate);
  texts.lnbLow = TextOf(arguments.lnbLowMHz, saved.lnbLow);
  texts.lnbHigh = TextOf(arguments.lnbHighMHz, saved.lnbHigh);

  std::vector<std::string> missing;
  if (texts.frequency.empty()) missing.push_back("frequency");
  if (texts.symbolRate.empty()) missing.push_back("symbol rate");
  if (texts.lnbLow.empty()) missing.push_back("LNB low oscillator (--lnb-low)");
  if (texts.lnbHigh.empty()) missing.push_back("LNB high oscillator (--lnb-high)");
  if (!missing.empty()) {
    std::string names;
    for (const std::string& name : missing) names += (names.empty() ? "" : ", ") + name;
    *error = "nothing to tune: no " + names +
             " on the command line or in the settings file; give FREQ_MHZ SYMBOL_RATE --pol H|V "
             "--lnb-low MHZ --lnb-high MHZ";
    return std::nullopt;
  }

  target.polarity = arguments.polarity ? *arguments.polarity : Selection(saved.polarity, kPolarityEntries);
  target.diseqcPort = arguments.diseqcPort ? *arguments.diseqcPort : Selection(saved.diseqc, kDiseqcEntries);
  texts.polarity = std::to_string(target.polarity);
  texts.diseqc = std::to_string(target.diseqcPort);
  target.params = TransponderFromTexts(texts.frequency, texts.symbolRate, texts.lnbLow, texts.lnbHigh, target.polarity);
  target.stream = arguments.stream;
  target.inputStreamId = arguments.inputStreamId;
  return target;
}

std::string CarrierText(const TransponderParams& params) {
  return std::to_string(params.frequency) + (params.polarisation == 0 ? " H " : " V ") +
         std::to_string(params.symbolRate);
}
