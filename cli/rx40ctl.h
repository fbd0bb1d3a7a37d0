// rx40ctl, the tool without a window, as one call: the command line, the
// console on the given streams, the window's boxes turned into console
// errors, the debug output kept for --verbose, the program folder, and the
// command. main() and the tests call it; the process's platform services
// (RegisterPlatformServices) must be registered before.
//
// Returns the exit status: 0 success, 1 the card or its driver failed, 2 bad
// usage. `stop` ends a recording or status --watch early (SIGINT).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/stop_request.h"

struct ConsoleStreams {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;  // progress lines go to err only then
};

int RunRx40ctl(const std::vector<std::string>& args, ConsoleStreams streams, StopRequest& stop,
               const std::string& executableFolder);
