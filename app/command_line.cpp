#include "app/command_line.h"

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string* error) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--simulate") {
      line.simulate = true;
    } else if (arg.starts_with("--simulate=")) {
      line.simulate = true;
      line.simulationFile = arg.substr(11);
      if (line.simulationFile.empty()) {
        *error = "--simulate= needs a file name";
        return std::nullopt;
      }
    } else if (arg == "--data-dir" || arg.starts_with("--data-dir=")) {
      line.dataDir = arg == "--data-dir" ? (i + 1 < args.size() ? args[++i] : "") : arg.substr(11);
      if (line.dataDir.empty()) {
        *error = "--data-dir needs a folder";
        return std::nullopt;
      }
      while (line.dataDir.size() > 1 && line.dataDir.back() == '/') line.dataDir.pop_back();
    } else if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else {
      *error = "unknown argument: " + arg;
      return std::nullopt;
    }
  }
  return line;
}

const char* UsageText() {
  return "usage: rx40-tessel [--simulate[=FILE]] [--data-dir DIR]\n"
         "  --simulate[=FILE]  use the simulated Orvane RX40 card (FILE: its sky, faults and stream)\n"
         "  --data-dir DIR     folder for the settings file, city list, satellite files and help file\n"
         "                     (default: the folder of the executable)\n";
}
