// rx40ctl: the OrvaneRX40 Tessel tool without a window, for scripts,
// servers and remote dishes. See cli/rx40ctl.h.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/card_setup.h"
#include "cli/rx40ctl.h"
#include "cli/stop_signals.h"
#include "settings/program_folder.h"

namespace {

// The folder of the running executable, where the window keeps its
// settings file too when both are installed side by side.
std::string ExecutableFolder() {
  std::vector<char> path(4096);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return ".";
  return FolderOfPath(std::string(path.data(), static_cast<std::size_t>(length)));
}

}  // namespace

int main(int argc, char* argv[]) {
  // Before any thread exists, so that every thread inherits the mask.
  if (!BlockStopSignals()) std::fprintf(stderr, "rx40ctl: cannot block SIGINT: %s\n", std::strerror(errno));
  StopRequest stop;
  StopSignals signals(stop);
  if (!signals.Watching())
    std::fprintf(stderr, "rx40ctl: no signalfd (%s): SIGINT cannot stop a recording cleanly\n", std::strerror(errno));

  RegisterPlatformServices();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunRx40ctl(args, {std::cout, std::cerr, isatty(STDERR_FILENO) == 1}, stop, ExecutableFolder());
}
