// The built rx40ctl (or rx40-tessel) run as a child process, with a folder
// of its own for its data, its output and its errors.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/file_contents.h"
#include "tests/support/sim_stream_expectation.h"

extern char** environ;

class Rx40ctlProcess : public testing::Test {
 protected:
  Rx40ctlProcess() {
    m_folder = std::filesystem::temp_directory_path() / ("rx40ctl-process-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_folder);
    std::ofstream(m_folder / "card.ini") << kOneCarrierSky;  // real time, as on the air
  }
  ~Rx40ctlProcess() override {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  // Starts rx40ctl ARGS --data-dir FOLDER, its output into files, its
  // tuning-space store in the folder.
  // With stdoutFd, its standard output is that descriptor.
  pid_t Start(std::vector<std::string> args, int stdoutFd = -1) {
    args.push_back("--data-dir");
    args.push_back(m_folder.string());
    return StartProgram(RX40CTL_PATH, std::move(args), {}, stdoutFd);
  }
  // Starts program ARGS, its output into files, without the environment
  // variables named in `without`.
  pid_t StartProgram(const char* program, std::vector<std::string> args, const std::vector<std::string>& without,
                     int stdoutFd = -1) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment{"XDG_CONFIG_HOME=" + m_folder.string()};
    for (char** variable = environ; *variable; ++variable) {
      const std::string entry(*variable);
      bool dropped = entry.starts_with("XDG_CONFIG_HOME=");
      for (const std::string& name : without) dropped = dropped || entry.starts_with(name + "=");
      if (!dropped) environment.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    if (stdoutFd >= 0)
      posix_spawn_file_actions_adddup2(&files, stdoutFd, STDOUT_FILENO);
    else
      posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, (m_folder / "out.txt").c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, (m_folder / "err.txt").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int error = posix_spawn(&pid, program, &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    EXPECT_EQ(error, 0) << std::strerror(error);
    return error == 0 ? pid : -1;
  }
  // The exit status, or -1 when the process did not exit by itself.
  static int Wait(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Out() const { return FileText(m_folder / "out.txt"); }
  std::string Err() const { return FileText(m_folder / "err.txt"); }

  std::filesystem::path m_folder;
};
