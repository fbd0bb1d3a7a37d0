// The tool's own settings section: each key's accepted values, and a value
// that does not read counting as not set rather than as 0.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "settings/tool_settings.h"

namespace {

ToolSettings Read(const std::string& section) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("rx40-tool-" + std::to_string(::getpid()) + ".ini")).string();
  std::ofstream(path) << "[Tessel]\n" << section;
  ToolSettings settings = ReadToolSettings(path);
  std::filesystem::remove(path);
  return settings;
}

TEST(ToolSettings, EachKeyTakesItsRangeAndAnUnreadableValueIsNotSet) {
  struct Case {
    const char* text;
    double motorSpeed;
    int uncommitted;
    ToneBurstInput burst;
  } const cases[] = {
      {"", 1.5, 0, ToneBurstInput::None},
      {"motor_speed=2.25\n", 2.25, 0, ToneBurstInput::None},
      {"motor_speed=0.1\n", 0.1, 0, ToneBurstInput::None},
      {"motor_speed=0\n", 1.5, 0, ToneBurstInput::None},      // a motor that never arrives
      {"motor_speed=10.5\n", 1.5, 0, ToneBurstInput::None},
      {"motor_speed=1,5\n", 1.5, 0, ToneBurstInput::None},    // not through the locale
      {"motor_speed=nan\n", 1.5, 0, ToneBurstInput::None},
      {"uncommitted=16\nburst=b\n", 1.5, 16, ToneBurstInput::B},
      {"uncommitted=17\nburst=C\n", 1.5, 0, ToneBurstInput::None},
  };
  for (const Case& c : cases) {
    const ToolSettings settings = Read(c.text);
    EXPECT_DOUBLE_EQ(settings.motorSpeedDegPerSecond, c.motorSpeed) << c.text;
    EXPECT_EQ(settings.uncommittedPort, c.uncommitted) << c.text;
    EXPECT_EQ(settings.burst, c.burst) << c.text;
  }
}

}  // namespace
