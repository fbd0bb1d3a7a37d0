#include <gtest/gtest.h>

#include <fstream>

#include "app/command_line.h"
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
