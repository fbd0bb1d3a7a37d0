#include "settings/ini_file.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "settings/settings_keys.h"
#include "tests/support/file_contents.h"

namespace fs = std::filesystem;

namespace {

// Runs fn in a child process that has no right to ignore file permissions
// (as "nobody" when the tests run as root); returns fn's result.
int InChildWithoutRoot(const std::function<int()>& fn) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) _exit(250);
    _exit(fn());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class IniFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/ini_file_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    path_ = (folder_ / "Orvane-TScap.ini").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  void WriteRaw(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  std::string ReadRaw() const { return FileText(path_); }

  fs::path folder_;
  std::string path_;
};

TEST_F(IniFileTest, MissingFileReadsEmptyAndFirstSaveCreatesAllKeys) {
  CIniFile ini(path_);
  EXPECT_EQ(ini.GetValue("Config", "freq"), "");

  for (std::string_view key : kSettingsKeysInSaveOrder) {
    const std::string value = key == kKeyPolarity || key == kKeyDiseqc ? "0" : "";
    ASSERT_EQ(ini.SetValue(std::string(kSettingsSection), std::string(key), value), 0);
  }
  EXPECT_EQ(ReadRaw(),
            "[Config]\npolarity=0\ndiseqc=0\nmotor0=\nmotor1=\nmotor2=\nmotor3=\nmotor4=\n"
            "freq=\nsymbol=\nlnblow=\nlnbhigh=\n");

  // Saved texts come back exactly as typed.
  ASSERT_EQ(ini.SetValue("Config", "motor0", "0XE0"), 0);
  EXPECT_EQ(ini.GetValue("config", "MOTOR0"), "0XE0");
}

TEST_F(IniFileTest, LongValueIsCutTo259Characters) {
  CIniFile ini(path_);
  const std::string value(300, 'x');
  ASSERT_EQ(ini.SetValue("Config", "freq", value), 0);
  EXPECT_EQ(ini.GetValue("Config", "freq"), value.substr(0, 259));

  // A cut never leaves half a UTF-8 character behind.
  const std::string accented = std::string(258, 'x') + "\xC3\xA9" + "tail";
  ASSERT_EQ(ini.SetValue("Config", "freq", accented), 0);
  EXPECT_EQ(ini.GetValue("Config", "freq"), std::string(258, 'x'));
}

TEST_F(IniFileTest, CrlfFileStaysCrlfAndKeepsOtherBytes) {
  WriteRaw("; written by hand\r\n[Config]\r\nfreq = 10744\r\nsymbol=22000\r\n\r\n[Other]\r\nx=1\r\n");
  CIniFile ini(path_);
  EXPECT_EQ(ini.GetValue("Config", "freq"), "10744");
  ASSERT_EQ(ini.SetValue("Config", "freq", "11362"), 0);
  ASSERT_EQ(ini.SetValue("Config", "lnblow", "9750"), 0);
  EXPECT_EQ(ReadRaw(),
            "; written by hand\r\n[Config]\r\nfreq = 11362\r\nsymbol=22000\r\nlnblow=9750\r\n"
            "\r\n[Other]\r\nx=1\r\n");
}

// Files written elsewhere: a byte-order mark must not hide the first
// section (and so make a write add a second copy of it); lone CR ends lines.
TEST_F(IniFileTest, FilesFromOtherSystemsReadAndUpdateInPlace) {
  WriteRaw("\xEF\xBB\xBF[Config]\r\nfreq=10744\r\n");
  CIniFile ini(path_);
  EXPECT_EQ(ini.GetValue("Config", "freq"), "10744");
  ASSERT_EQ(ini.SetValue("Config", "freq", "11362"), 0);
  ASSERT_EQ(ini.SetValue("Config", "symbol", "27500"), 0);
  EXPECT_EQ(ReadRaw(), "\xEF\xBB\xBF[Config]\r\nfreq=11362\r\nsymbol=27500\r\n");

  WriteRaw("[SATTYPE]\r1=0130\r2=Hot Bird 13F/13G\r");
  EXPECT_EQ(ini.GetValue("SATTYPE", "2"), "Hot Bird 13F/13G");
  ASSERT_EQ(ini.SetValue("SATTYPE", "1", "0131"), 0);
  EXPECT_EQ(ReadRaw(), "[SATTYPE]\r1=0131\r2=Hot Bird 13F/13G\r");
}

TEST_F(IniFileTest, MissingFolderFailsWithErrnoAndCreatesNothing) {
  CIniFile ini((folder_ / "absent" / "Orvane-TScap.ini").string());
  EXPECT_EQ(ini.SetValue("Config", "freq", "1"), ENOENT);
  EXPECT_EQ(ini.GetValue("Config", "freq"), "");
  EXPECT_FALSE(fs::exists(folder_ / "absent"));
}

TEST_F(IniFileTest, FailedWriteLeavesFileWholeAndNoTemporaries) {
  WriteRaw("[Config]\nfreq=1\n");
  CIniFile ini(path_);
  EXPECT_EQ(ini.SetValue("Config", "freq", "2\n[Config]\nfreq=3"), EINVAL);
  EXPECT_EQ(ReadRaw(), "[Config]\nfreq=1\n");

  CIniFile onFolder(folder_.string());
  EXPECT_NE(onFolder.SetValue("Config", "freq", "1"), 0);
  EXPECT_TRUE(fs::is_directory(folder_));

  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(IniFileTest, ReadOnlyFileIsRefusedNotReplaced) {
  WriteRaw("[Config]\nfreq=1\n");
  ASSERT_EQ(chmod(folder_.c_str(), 0777), 0);
  ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
  EXPECT_EQ(InChildWithoutRoot([&] { return CIniFile(path_).SetValue("Config", "freq", "2"); }), EACCES);
  EXPECT_EQ(ReadRaw(), "[Config]\nfreq=1\n");
}

TEST_F(IniFileTest, AllValuesGoInOneReplacementAndAnUnstorableOneDoesNotStopTheOthers) {
  WriteRaw("[Config]\r\nfreq=1\r\n[Other]\r\nx=1\r\n");
  CIniFile ini(path_);
  EXPECT_EQ(ini.SetValues("Config", {{"polarity", "1"}, {"motor0", "bad\nline"}, {"freq", "11362"}, {"symbol", "27500"}}),
            EINVAL);
  EXPECT_EQ(ReadRaw(), "[Config]\r\nfreq=11362\r\npolarity=1\r\nsymbol=27500\r\n[Other]\r\nx=1\r\n");
  EXPECT_EQ(ini.SetValues("New", {{"a", "1"}, {"b", "2"}}), 0);
  EXPECT_TRUE(ReadRaw().ends_with("[New]\r\na=1\r\nb=2\r\n")) << ReadRaw();
}

// An installed copy: the folder takes no new files, the settings file is
// writable. The file is rewritten in place, never truncated by a full disk.
TEST_F(IniFileTest, AWritableFileInAReadOnlyFolderIsRewrittenInPlace) {
  const std::string original = "[Config]\nfreq=1\nsymbol=22000\n";
  WriteRaw(original);
  ASSERT_EQ(chmod(path_.c_str(), 0666), 0);
  ASSERT_EQ(chmod(folder_.c_str(), 0555), 0);
  struct stat before {};
  ASSERT_EQ(stat(path_.c_str(), &before), 0);

  EXPECT_EQ(InChildWithoutRoot([&] { return CIniFile(path_).SetValues("Config", {{"freq", "11362"}, {"lnblow", "9750"}}); }), 0);
  EXPECT_EQ(ReadRaw(), "[Config]\nfreq=11362\nsymbol=22000\nlnblow=9750\n");
  EXPECT_EQ(InChildWithoutRoot([&] { return CIniFile(path_).SetValue("Config", "lnblow", ""); }), 0);
  EXPECT_EQ(ReadRaw(), "[Config]\nfreq=11362\nsymbol=22000\nlnblow=\n") << "a shorter text leaves no tail";

  // The disk fills up: the write fails before a byte of the file changes.
  const std::string kept = ReadRaw();
  EXPECT_EQ(InChildWithoutRoot([&] {
              std::signal(SIGXFSZ, SIG_IGN);
              const rlimit limit{static_cast<rlim_t>(kept.size() + 4), static_cast<rlim_t>(kept.size() + 4)};
              setrlimit(RLIMIT_FSIZE, &limit);
              return CIniFile(path_).SetValue("Config", "motor0", std::string(64, 'e'));
            }),
            EFBIG);
  EXPECT_EQ(ReadRaw(), kept);

  struct stat after {};
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, not a replacement";
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1) << "no temporaries";
  ASSERT_EQ(chmod(folder_.c_str(), 0700), 0);
}

TEST_F(IniFileTest, WriteKeepsPermissionBitsAndFollowsSymlink) {
  WriteRaw("[Config]\nfreq=1\n");
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  const fs::path link = folder_ / "link.ini";
  fs::create_symlink(path_, link);

  ASSERT_EQ(CIniFile(link.string()).SetValue("Config", "freq", "2"), 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadRaw(), "[Config]\nfreq=2\n");
  struct stat info {};
  ASSERT_EQ(stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

}  // namespace
