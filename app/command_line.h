// The program's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/option_table.h"

struct CommandLine {
  bool simulate = false;
  std::string simulationFile;  // empty: the built-in simulated card
  std::optional<int> adapter;  // a real card: /dev/dvb/adapterN; none: the first DVB-S/S2 adapter
  std::optional<int> frontend;  // its frontendF (--adapter N:F); none: its first DVB-S/S2 frontend
  std::optional<unsigned> secPauseMs;  // a real card's pauses around DiSEqC messages; none: 15 ms
  std::optional<unsigned> ringMb;      // the capture ring in MiB (0: none); none: settings, else 256
  std::string dataDir;         // empty: the executable's folder
  bool help = false;
  bool version = false;
  bool verbose = false;        // debug lines on stderr (also RX40_DEBUG=1)
};

// Parses argv (without argv[0]); on a bad argument returns none and sets error.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string* error);

// The options every program of the tool takes for the card and its program
// folder (--simulate[=FILE], --adapter N, --sec-pause MS, --ring-mb N,
// --data-dir DIR), declared once, their values taken into line.
OptionGroup CommonOptions(CommandLine& line);
// Once every argument is read: the options that cannot go together.
bool CheckCommonOptions(const CommandLine& line, std::string* error);

// Those options' lines of a usage text, made from their declarations.
std::string CommonOptionsUsage();
std::string UsageText();
