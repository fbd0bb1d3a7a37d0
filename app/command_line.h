// The program's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
  bool simulate = false;
  std::string simulationFile;  // empty: the built-in simulated card
  std::optional<int> adapter;  // a real card: /dev/dvb/adapterN; none: the first DVB-S/S2 adapter
  std::optional<unsigned> secPauseMs;  // a real card's pauses around DiSEqC messages; none: 15 ms
  std::string dataDir;         // empty: the executable's folder
  bool help = false;
};

// Parses argv (without argv[0]); on a bad argument returns none and sets error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string* error);

const char* UsageText();
