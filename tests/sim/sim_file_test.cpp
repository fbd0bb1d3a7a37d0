#include "platform/sim/sim_file.h"

#include <gtest/gtest.h>

#include <fstream>

namespace sim {
namespace {

// A replay file that exists: the parser refuses one that cannot be read.
std::string ExistingReplay() {
  const std::string path = testing::TempDir() + "/rx40-sim-file-replay.ts";
  std::ofstream(path, std::ios::binary) << std::string(188, 'G');
  return path;
}

TEST(SimFile, EverySectionReachesItsOwner) {
  const std::string replay = ExistingReplay();
  const std::string text =
      "[card]\n"
      "trace = /tmp/rx40-trace.txt\n"
      "[faults]\n"
      "tuner_bind_fails = no\n"
      "[lnb]\n"
      "low = 9750\n"
      "high = 10750\n"
      "[satellite 2]\n"
      "name = Sat 19.2E\n"
      "position = 19.2\n"
      "tp = 11362 H 22000 S2 8PSK 2/3\n"
      "[driver]\n"
      "property_13 = negative\n"
      "property_13_get = positive\n"
      "property_0 = unsupported\n"
      "tune = negative\n"
      "[stream]\n"
      "replay = " + replay + "\n"
      "paced = no\n"
      "sample_packets = 7\n"
      "write_fails_after_bytes = 6000000000\n";
  std::string error;
  const auto config = ParseSimText(text, &error);
  ASSERT_TRUE(config) << error;
  EXPECT_EQ(config->card.traceFile, "/tmp/rx40-trace.txt");
  EXPECT_EQ(config->sky.lnb.highOscillatorMHz, 10750);
  ASSERT_EQ(config->sky.satellites.size(), 1u);
  EXPECT_EQ(config->sky.satellites[0].transponders.size(), 1u);
  const DriverFaults& faults = config->driver.faults;
  EXPECT_EQ(faults.For(13).get, CallOutcome::Positive);  // the later, narrower key refines
  EXPECT_EQ(faults.For(13).set, CallOutcome::Negative);
  EXPECT_TRUE(faults.For(0).unsupported);
  EXPECT_FALSE(faults.For(12).unsupported);
  EXPECT_EQ(faults.tune, CallOutcome::Negative);
  EXPECT_EQ(faults.statistics, CallOutcome::Normal);
  EXPECT_EQ(config->stream.replayFile, replay);
  EXPECT_FALSE(config->stream.paced);
  EXPECT_EQ(config->stream.samplePackets, 7u);
  EXPECT_EQ(config->stream.writeFailsAfterBytes, 6'000'000'000u) << "past 32 bits";
  EXPECT_EQ(config->stream.continuityErrorEvery, 0u);

  const auto faulty = ParseSimText("[stream]\ncontinuity_error_every = 5000\nwrite_fails_after_bytes = 0\n", &error);
  ASSERT_TRUE(faulty) << error;
  EXPECT_EQ(faulty->stream.continuityErrorEvery, 5000u);
  EXPECT_FALSE(faulty->stream.writeFailsAfterBytes) << "0 means never";
}

TEST(SimFile, WithoutSkySectionsTheBuiltInSkyAndDefaultsApply) {
  std::string error;
  const auto config = ParseSimText("# only a card\n[card]\npresent = yes\n", &error);
  ASSERT_TRUE(config) << error;
  EXPECT_EQ(config->sky.satellites.size(), DefaultSky().satellites.size());
  EXPECT_TRUE(config->driver.faults.properties.empty());
  EXPECT_TRUE(config->stream.paced);
  EXPECT_EQ(config->stream.samplePackets, StreamOptions::kDefaultSamplePackets);
  EXPECT_TRUE(config->stream.replayFile.empty());
  EXPECT_EQ(config->stream.continuityErrorEvery, 0u);
  EXPECT_FALSE(config->stream.writeFailsAfterBytes);
}

TEST(SimFile, ErrorsNameTheLineAndReason) {
  const std::pair<std::string, std::string> cases[] = {
      // The INI syntax.
      {"name=x\n", "line 1: key outside any [section]"},
      {"[satellite 1\n", "line 1: a section header is written [name]"},
      {"[card]\njust words\n", "line 2: expected key = value"},
      // Sections and keys.
      {"[moon]\n", "line 1: unknown section [moon]"},
      {"[stream]\n[card]\n[stream]\n", "line 3: section [stream] given twice"},
      {"[card]\ntrace=a\ntrace=b\n", "line 3: key \"trace\" given twice in [card]"},
      // The sky's own checks, with their lines in the whole file.
      {"[card]\npresent=yes\n[satellite 1]\nname=S\n", "line 3: [satellite 1] needs position="},
      {"[lnb]\nlow=9750\nhigh=10600\n", "line 3: no [satellite N] section"},
      // [driver]
      {"[driver]\nproperty_7 = negative\n", "line 2: property_7: the card has no property 7 (0, 12, 13 or 14)"},
      {"[driver]\nproperty_0_get = negative\n", "line 2: property 0 cannot be read"},
      {"[driver]\nproperty_13 = sometimes\n",
       "line 2: property_13 is ok, unsupported, negative or positive, not \"sometimes\""},
      {"[driver]\nproperty_13_get = unsupported\n",
       "line 2: property_13_get is ok, negative or positive, not \"unsupported\""},
      {"[driver]\ntune = positive\n", "line 2: tune is ok or negative, not \"positive\""},
      {"[driver]\nproperty_x = negative\n", "line 2: unknown key \"property_x\" in [driver]"},
      // [stream]
      {"[stream]\nreplay = capture.mpg\n", "line 2: replay names a transport stream file PATH.ts, not \"capture.mpg\""},
      {"[stream]\npaced = maybe\n", "line 2: paced is yes or no, not \"maybe\""},
      {"[stream]\nsample_packets = 0\n", "line 2: sample_packets is 1 to 5577, not 0"},
      {"[stream]\nloop = yes\n", "line 2: unknown key \"loop\" in [stream]"},
      {"[stream]\ncontinuity_error_every = often\n", "line 2: continuity_error_every needs a whole number, not \"often\""},
      {"[stream]\nwrite_fails_after_bytes = -1\n", "line 2: write_fails_after_bytes needs a whole number, not \"-1\""},
      {"[stream]\nreplay = /nonexistent/a.ts\n",
       "line 2: replay file \"/nonexistent/a.ts\" cannot be read: No such file or directory"},
      {"[stream]\nreplay = " + ExistingReplay() + "\ncontinuity_error_every = 10\n",
       "line 1: continuity_error_every applies to the generated stream, not to a replay"},
  };
  for (const auto& [text, expected] : cases) {
    std::string error;
    EXPECT_FALSE(ParseSimText(text, &error)) << text;
    EXPECT_EQ(error, expected) << text;
  }
}

TEST(SimFile, FileErrorsNameThePath) {
  std::string error;
  EXPECT_FALSE(ReadSimFile("/nonexistent/card.ini", &error));
  EXPECT_EQ(error.rfind("/nonexistent/card.ini: ", 0), 0u) << error;

  const std::string path = ::testing::TempDir() + "sim_file_test.ini";
  std::ofstream(path) << "[card]\n\n[driver]\nstatistics = broken\n";
  EXPECT_FALSE(ReadSimFile(path, &error));
  EXPECT_EQ(error, path + ": line 4: statistics is ok or negative, not \"broken\"");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace sim
