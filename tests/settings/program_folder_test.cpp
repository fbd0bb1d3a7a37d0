// Where the programs keep what they write when no --data-dir is given: next
// to a program run from its build folder, else in the user's configuration
// folder (an installed program cannot write /usr/bin).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "settings/program_folder.h"

namespace {

class SavedVariable {
 public:
  explicit SavedVariable(const char* name) : m_name(name) {
    if (const char* value = std::getenv(name)) m_value = value;
  }
  ~SavedVariable() {
    if (m_value) setenv(m_name, m_value->c_str(), 1);
    else unsetenv(m_name);
  }
  void Set(const char* value) {
    if (value) setenv(m_name, value, 1);
    else unsetenv(m_name);
  }

 private:
  const char* m_name;
  std::optional<std::string> m_value;
};

TEST(DefaultDataFolder, ABuildKeepsItsFolderAndAnInstalledProgramTheUsersConfigFolder) {
  const auto build = std::filesystem::temp_directory_path() / ("rx40-build-" + std::to_string(::getpid()));
  std::filesystem::create_directories(build);
  std::ofstream((build / "CityList.txt").string()) << "x\n";
  SavedVariable config("XDG_CONFIG_HOME"), home("HOME");

  struct Case {
    const char* config;
    const char* home;
    std::string expected;
  } const cases[] = {
      {"/cfg", "/home/u", "/cfg/rx40-tessel"},
      {nullptr, "/home/u", "/home/u/.config/rx40-tessel"},
      {"relative/cfg", "/home/u", "/home/u/.config/rx40-tessel"},  // relative values are ignored
      {"", "/home/u", "/home/u/.config/rx40-tessel"},
      {nullptr, nullptr, ""},
  };
  for (const Case& c : cases) {
    config.Set(c.config);
    home.Set(c.home);
    EXPECT_EQ(DefaultDataFolder("/usr/bin"), c.expected) << (c.config ? c.config : "(unset)");
    EXPECT_EQ(DefaultDataFolder(build.string()), build.string()) << "the lists next to it: a build";
  }
  std::string error;
  EXPECT_FALSE(EnsureDataFolder("", &error));
  EXPECT_NE(error.find("give --data-dir"), std::string::npos) << error;
  std::filesystem::remove_all(build);
}

}  // namespace
