// The built rx40ctl as its own process: SIGINT during a recording stops it
// as "Cancel Record" does, exit status 0, with every byte the card sent in
// the file and the summary saying so; a bad command line is exit status 2.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_arguments.h"
#include "tests/cli/rx40ctl_process.h"
#include "platform/sim/sim_file.h"
#include "tests/support/file_contents.h"
#include "tests/support/sim_stream_expectation.h"

namespace {

TEST_F(Rx40ctlProcess, SigintDuringARecordingStopsItCleanlyKeepingEveryByte) {
  const std::filesystem::path take = m_folder / "take.ts";
  const pid_t pid = Start({"--simulate=" + (m_folder / "card.ini").string(), "--json", "record", take.string(),
                           "--seconds", "600", "11362", "22000", "--pol", "H", "--lnb-low", "9750", "--lnb-high",
                           "10600"});
  ASSERT_GT(pid, 0);
  // Once the card has delivered a few samples (a safety net, not a timing).
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  const auto size = [&] {
    std::error_code missing;
    const std::uintmax_t bytes = std::filesystem::file_size(take, missing);
    return missing ? 0 : bytes;
  };
  while (size() < 4 * kSimSampleBytes && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  ASSERT_EQ(kill(pid, SIGINT), 0);
  ASSERT_EQ(Wait(pid), 0) << Err();

  const std::vector<std::uint8_t> recorded = FileBytes(take);
  ASSERT_GE(recorded.size(), 4 * kSimSampleBytes);
  EXPECT_EQ(recorded.size() % kSimSampleBytes, 0u) << "whole samples of whole packets";
  EXPECT_TRUE(IsWhatTheCardSent(kOneCarrierSky, recorded));

  // The last line is the summary, and it counts what the file holds.
  const std::string out = Out();
  const std::string last = out.substr(out.rfind('\n', out.size() - 2) + 1);
  const QJsonObject summary = QJsonDocument::fromJson(QByteArray::fromStdString(last)).object();
  EXPECT_EQ(summary["type"].toString(), "record") << out;
  EXPECT_EQ(summary["stopped"].toString(), "interrupted");
  EXPECT_EQ(summary["bytes"].toInteger(), static_cast<qint64>(recorded.size()));
  EXPECT_EQ(summary["packets"].toInteger(), static_cast<qint64>(recorded.size() / 188));
  EXPECT_EQ(summary["continuity_errors"].toInt(), 0);
  EXPECT_EQ(Err(), "");
}

// The stream into a pipe: whole packets from the stream's start, the
// summary on stderr, and a reader that has had enough ends it cleanly.
TEST_F(Rx40ctlProcess, RecordingToStandardOutputFeedsAPipeAndEndsWhenTheReaderCloses) {
  int pipeFds[2];
  ASSERT_EQ(pipe2(pipeFds, O_CLOEXEC), 0);
  const pid_t pid = Start({"--simulate=" + (m_folder / "card.ini").string(), "record", "-", "--seconds", "600",
                           "11362", "22000", "--pol", "H", "--lnb-low", "9750", "--lnb-high", "10600"},
                          pipeFds[1]);
  close(pipeFds[1]);
  ASSERT_GT(pid, 0);
  std::vector<std::uint8_t> received(3 * kSimSampleBytes + 100);
  std::size_t got = 0;
  while (got < received.size()) {
    const ssize_t n = read(pipeFds[0], received.data() + got, received.size() - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  close(pipeFds[0]);  // the reader has had enough
  ASSERT_EQ(got, received.size()) << Err();
  EXPECT_EQ(Wait(pid), 0) << Err();

  received.resize(received.size() / 188 * 188);
  EXPECT_TRUE(IsWhatTheCardSent(kOneCarrierSky, received)) << "the pipe carries the card's stream";
  EXPECT_NE(Err().find("into standard output (the reader closed the pipe)\nPackets: "), std::string::npos) << Err();
  EXPECT_EQ(Err().find("rx40ctl: record:"), std::string::npos) << "no error: " << Err();
}

// A disk that stalls 5 s at 80 Mbit/s, in real time against the card's
// modelled 16 MiB buffer: the capture ring holds the stream meanwhile, and
// without one the buffer overflows and the recording says so.
TEST_F(Rx40ctlProcess, AFiveSecondDiskStallLosesNothingWithTheRingAndIsCountedWithoutIt) {
  const std::string sky =
      "[satellite 1]\nname = Sat 23.5E\nposition = 23.5\n"
      "tp = 11362 H 30000 S2 8PSK 9/10 rolloff=0.20 pilots=off\n"  // 80.5 Mbit/s
      "[stream]\nwrite_stall_ms = 5000\nwrite_stall_after_bytes = 10000000\n";
  std::ofstream(m_folder / "stall.ini") << sky;
  const auto record = [&](std::vector<std::string> ring) {
    std::vector<std::string> args{"--simulate=" + (m_folder / "stall.ini").string(), "--json", "record",
                                  (m_folder / "stall.ts").string(), "--seconds", "7", "11362", "30000", "--pol", "H",
                                  "--lnb-low", "9750", "--lnb-high", "10600"};
    args.insert(args.begin(), ring.begin(), ring.end());
    const pid_t pid = Start(args);
    EXPECT_GT(pid, 0);
    const int status = Wait(pid);
    const std::string out = Out();
    const std::string last = out.substr(out.rfind("{\"type\":\"record\""));
    return std::pair(status, QJsonDocument::fromJson(QByteArray::fromStdString(last.substr(0, last.find('\n')))).object());
  };

  const auto [status, summary] = record({});
  EXPECT_EQ(status, 0) << Err();
  EXPECT_EQ(summary["overflows"].toInt(), 0) << Out();
  EXPECT_GT(summary["ring_high_water_bytes"].toInteger(), 16 * 1024 * 1024)
      << "more than the card's buffer was held: " << Out();
  EXPECT_TRUE(IsWhatTheCardSent(sky, FileBytes(m_folder / "stall.ts"))) << "the stream across the stall";
  std::printf("5 s stall at 80 Mbit/s: ring high-water %.1f MiB\n",
              static_cast<double>(summary["ring_high_water_bytes"].toInteger()) / (1024 * 1024));

  const auto [ringless, lossy] = record({"--ring-mb", "0"});
  EXPECT_EQ(ringless, 1) << Err();
  EXPECT_GE(lossy["device_overflows"].toInt(), 1) << Out();
  EXPECT_EQ(lossy["ring_bytes"].toInt(), 0);
  EXPECT_NE(Err().find("rx40ctl: record: stream data was lost before it reached the file: the card's buffer overflowed"),
            std::string::npos)
      << Err();
}

// A data folder that does not exist yet is made for the user alone, and
// the settings land in it.
TEST_F(Rx40ctlProcess, AMissingDataFolderIsMadeForTheUserAlone) {
  const std::filesystem::path data = m_folder / "new" / "data";
  pid_t pid = StartProgram(RX40CTL_PATH,
                           {"--simulate", "tune", "11362", "22000", "--pol", "H", "--lnb-low", "9750", "--lnb-high",
                            "10600", "--data-dir", data.string()},
                           {});
  ASSERT_GT(pid, 0);
  EXPECT_EQ(Wait(pid), 0) << Err();
  for (const auto& folder : {m_folder / "new", data})
    EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms::owner_all) << folder;
  EXPECT_TRUE(std::filesystem::exists(data / "Orvane-TScap.ini")) << "the tune saved its transponder there";

  std::ofstream(m_folder / "plain") << "not a folder";
  pid = StartProgram(RX40CTL_PATH, {"--simulate", "info", "--data-dir", (m_folder / "plain").string()}, {});
  ASSERT_GT(pid, 0);
  EXPECT_EQ(Wait(pid), 2);
  EXPECT_EQ(Err().rfind("rx40ctl: info: --data-dir: " + (m_folder / "plain").string() + " is not a folder\n", 0), 0u)
      << Err();
}

TEST_F(Rx40ctlProcess, ABadCommandLineIsExitStatusTwoWithAUsageLine) {
  const pid_t pid = Start({"record", "a.ts", "--mb", "10"});
  ASSERT_GT(pid, 0);
  EXPECT_EQ(Wait(pid), 2);
  EXPECT_EQ(Err(), "rx40ctl: record: --mb needs a whole number from 50 to 800000\n" + CommandUsage(CliCommand::Record));
}

// The window's program answers --help and --version before it needs a
// display (it used to abort without one).
TEST_F(Rx40ctlProcess, TheWindowsHelpAndVersionNeedNoDisplay) {
  const std::vector<std::string> noDisplay{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  pid_t pid = StartProgram(RX40_TESSEL_PATH, {"--help"}, noDisplay);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(Wait(pid), 0) << Err();
  EXPECT_EQ(Out().rfind("usage: rx40-tessel", 0), 0u) << Out();
  EXPECT_NE(Out().find("QT_QPA_PLATFORM=offscreen"), std::string::npos);
  pid = StartProgram(RX40_TESSEL_PATH, {"--version"}, noDisplay);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(Wait(pid), 0) << Err();
  EXPECT_EQ(Out().rfind("rx40-tessel ", 0), 0u) << Out();
  EXPECT_EQ(Out().find("  "), std::string::npos) << Out();
}

}  // namespace
