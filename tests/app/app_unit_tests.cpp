#include <gtest/gtest.h>

#include <fstream>

#include "app/command_line.h"
#include "app/strict_numbers.h"
#include "settings/program_folder.h"
#include "app/version_info.h"

namespace {

TEST(VersionInfo, ReadsTheStampOfThisExecutableAndNothingFromOtherFiles) {
  const auto stamp = ReadProductVersionStamp("/proc/self/exe");
  ASSERT_TRUE(stamp) << "the test program is built with the version stamp";
  const std::string text = FormatVersionText(stamp);
  EXPECT_EQ(text.front(), ' ');
  EXPECT_EQ(text.back(), ' ');

  EXPECT_EQ(FormatVersionText(ProductVersionStamp{kProductVersionSignature, (1u << 16) | 2u, (65535u << 16) | 0u}),
            " 1.2.65535.0 ");
  EXPECT_EQ(FormatVersionText(std::nullopt), "");

  const std::string junk = testing::TempDir() + "/not-an-elf";
  std::ofstream(junk) << "just text";
  EXPECT_FALSE(ReadProductVersionStamp(junk));
  EXPECT_FALSE(ReadProductVersionStamp(testing::TempDir() + "/does-not-exist"));
  EXPECT_FALSE(ReadProductVersionStamp("/bin/sh"));  // an ELF without our section
}

TEST(ProgramFolder, IsThePathCutAtItsLastSlash) {
  EXPECT_EQ(FolderOfPath("/opt/rx40/bin/rx40-tessel"), "/opt/rx40/bin");
  EXPECT_EQ(FolderOfPath("rx40-tessel"), "rx40-tessel");
  EXPECT_EQ(FolderOfPath("/rx40-tessel"), "");
}

TEST(CommandLine, AcceptsTheSimulatedCardAndADataFolderAndRefusesTheRest) {
  std::string error;
  auto line = ParseCommandLine({}, &error);
  ASSERT_TRUE(line);
  EXPECT_FALSE(line->simulate);

  line = ParseCommandLine({"--simulate=/tmp/sky.ini", "--data-dir", "/srv/rx40/"}, &error);
  ASSERT_TRUE(line);
  EXPECT_TRUE(line->simulate);
  EXPECT_EQ(line->simulationFile, "/tmp/sky.ini");
  EXPECT_EQ(line->dataDir, "/srv/rx40");

  line = ParseCommandLine({"--simulate", "--data-dir=/x"}, &error);
  ASSERT_TRUE(line);
  EXPECT_TRUE(line->simulationFile.empty());
  EXPECT_EQ(line->dataDir, "/x");

  for (const auto& bad : std::vector<std::vector<std::string>>{{"--simulate="}, {"--data-dir"}, {"--fast"}, {"x"},
                                                               {"--adapter"}, {"--adapter", "-1"}, {"--adapter=1x"},
                                                               {"--adapter", "256"}, {"--sec-pause=1001"},
                                                               {"--simulate", "--adapter", "0"},
                                                               {"--sec-pause", "20", "--simulate"}}) {
    error.clear();
    EXPECT_FALSE(ParseCommandLine(bad, &error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

// Numbers are read as a person writes them, whatever the locale: no
// hexadecimal, no octal, no exponent, no NaN slipping past a range check.
TEST(CommandLine, NumbersAreWholeDecimalsAndTheUsageComesFromTheSameDeclarations) {
  std::string error;
  for (const char* bad : {"0x10", "1e3", "1,5", "nan", " 5", "5 ", "+", ""}) {
    EXPECT_FALSE(ParseCommandLine({"--ring-mb", bad}, &error)) << bad;
    EXPECT_FALSE(ParseCommandLine({std::string("--sec-pause=") + bad}, &error)) << bad;
  }
  const auto octalLooking = ParseCommandLine({"--ring-mb", "010"}, &error);
  ASSERT_TRUE(octalLooking) << error;
  EXPECT_EQ(octalLooking->ringMb, 10u) << "ten, not eight";
  EXPECT_FALSE(StrictDecimal("nan"));
  EXPECT_FALSE(StrictDecimal("1e3"));
  EXPECT_EQ(StrictDecimal("+18.4"), 18.4);

  CommandLine unused;
  const std::string usage = UsageText();
  for (const OptionDecl& option : CommonOptions(unused))
    EXPECT_NE(usage.find("\n  " + option.name), std::string::npos) << option.name;
  for (const char* own : {"--verbose", "--version", "--help"}) EXPECT_NE(usage.find(own), std::string::npos) << own;
}

TEST(CommandLine, ChoosesARealAdapterAndItsSecPauses) {
  std::string error;
  auto line = ParseCommandLine({"--adapter", "2", "--sec-pause=40"}, &error);
  ASSERT_TRUE(line) << error;
  EXPECT_FALSE(line->simulate);
  EXPECT_EQ(line->adapter, 2);
  EXPECT_EQ(line->secPauseMs, 40u);

  line = ParseCommandLine({"--adapter=0"}, &error);
  ASSERT_TRUE(line) << error;
  EXPECT_EQ(line->adapter, 0);
  EXPECT_FALSE(line->secPauseMs);

  line = ParseCommandLine({}, &error);
  ASSERT_TRUE(line);
  EXPECT_FALSE(line->adapter) << "the first DVB-S/S2 adapter";
}

}  // namespace
