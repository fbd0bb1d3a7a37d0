// What rx40ctl tunes: the command line over the window's settings file,
// read as the Tuner Setting page reads it.
#include <gtest/gtest.h>

#include "cli/tune_target.h"

namespace {

TunerSettingsTexts Saved() {
  TunerSettingsTexts saved;
  saved.polarity = "1";
  saved.diseqc = "3";
  saved.motor = {"0xe0", "0x31", "0x60", "0x0", "0x0"};
  saved.frequency = "12168";
  saved.symbolRate = "27500";
  saved.lnbLow = "9750";
  saved.lnbHigh = "10600";
  return saved;
}

TEST(TuneTarget, TheCommandLineOverridesTheSettingsFileAndTheTuneIsSavedWithMotorBytesKept) {
  TuneArguments arguments;
  arguments.frequencyMHz = 11362;
  arguments.symbolRateKs = 22000;
  arguments.polarity = 0;
  std::string error;
  const auto target = ResolveTuneTarget(arguments, Saved(), &error);
  ASSERT_TRUE(target) << error;
  EXPECT_EQ(target->params.frequency, 11362);
  EXPECT_EQ(target->params.symbolRate, 22000);
  EXPECT_EQ(target->params.lnbLow, 9750);
  EXPECT_EQ(target->params.lnbHigh, 10600);
  EXPECT_EQ(target->params.polarisation, 0);
  EXPECT_EQ(target->diseqcPort, 3) << "the port the file keeps";
  EXPECT_EQ(target->settings.frequency, "11362");
  EXPECT_EQ(target->settings.polarity, "0");
  EXPECT_EQ(target->settings.diseqc, "3");
  EXPECT_EQ(target->settings.motor, Saved().motor);
  EXPECT_EQ(CarrierText(target->params), "11362 H 22000");
}

TEST(TuneTarget, TheFileIsReadWithThePagesRules) {
  struct Case {
    const char* frequency;
    const char* polarity;
    const char* diseqc;
    std::int32_t frequencyRead;
    int polarityRead;  // -1: no selection, which tunes vertical
    std::uint8_t polarisation;
    int diseqcRead;
  };
  const Case cases[] = {
      {"11362", "0", "0", 11362, 0, 0, 0},
      {"11362abc", "1", "4", 11362, 1, 1, 4},  // digits then letters: the digits
      {"abc", "", "", 0, 0, 0, 0},             // no number: 0; empty indices: the first entry
      {" 12000", "2", "9", 12000, -1, 0xFF, -1},  // indices past the lists select nothing
      {"11362", "-1", "-1", 11362, -1, 0xFF, -1},
  };
  for (const Case& c : cases) {
    TunerSettingsTexts saved = Saved();
    saved.frequency = c.frequency;
    saved.polarity = c.polarity;
    saved.diseqc = c.diseqc;
    std::string error;
    const auto target = ResolveTuneTarget({}, saved, &error);
    ASSERT_TRUE(target) << error;
    EXPECT_EQ(target->params.frequency, c.frequencyRead) << c.frequency;
    EXPECT_EQ(target->polarity, c.polarityRead) << c.polarity;
    EXPECT_EQ(target->params.polarisation, c.polarisation) << c.polarity;
    EXPECT_EQ(target->diseqcPort, c.diseqcRead) << c.diseqc;
    EXPECT_EQ(target->settings.frequency, c.frequency) << "saved back as typed";
    EXPECT_EQ(target->settings.diseqc, std::to_string(c.diseqcRead));
  }
}

TEST(TuneTarget, NothingToTuneNamesWhatIsMissing) {
  TunerSettingsTexts saved;  // no settings file
  TuneArguments arguments;
  arguments.frequencyMHz = 11362;
  arguments.symbolRateKs = 22000;
  arguments.lnbHighMHz = 10600;
  std::string error;
  EXPECT_FALSE(ResolveTuneTarget(arguments, saved, &error));
  EXPECT_NE(error.find("no LNB low oscillator (--lnb-low)"), std::string::npos) << error;
  EXPECT_EQ(error.find("frequency,"), std::string::npos) << error;
}

}  // namespace
