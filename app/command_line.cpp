#include "app/command_line.h"

#include <charconv>
#include <string>

#include "platform/media/capture_ring_size.h"

namespace {

// The value of "--name VALUE" or "--name=VALUE" when arg is that option.
std::optional<std::string> OptionValue(const std::string& name, const std::vector<std::string>& args, std::size_t* i) {
  const std::string& arg = args[*i];
  if (arg == name) return *i + 1 < args.size() ? args[++*i] : std::string();
  if (arg.starts_with(name + "=")) return arg.substr(name.size() + 1);
  return std::nullopt;
}

// A whole decimal number from 0 to max.
std::optional<unsigned> Number(const std::string& text, unsigned max) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

}  // namespace

CommonOption ParseCommonOption(const std::vector<std::string>& args, std::size_t* i, CommandLine* line,
                               std::string* error) {
  const std::string& arg = args[*i];
  if (arg == "--simulate") {
    line->simulate = true;
  } else if (arg.starts_with("--simulate=")) {
    line->simulate = true;
    line->simulationFile = arg.substr(11);
    if (line->simulationFile.empty()) {
      *error = "--simulate= needs a file name";
      return CommonOption::Bad;
    }
  } else if (const auto dir = OptionValue("--data-dir", args, i)) {
    line->dataDir = *dir;
    if (line->dataDir.empty()) {
      *error = "--data-dir needs a folder";
      return CommonOption::Bad;
    }
    while (line->dataDir.size() > 1 && line->dataDir.back() == '/') line->dataDir.pop_back();
  } else if (const auto adapter = OptionValue("--adapter", args, i)) {
    const auto colon = adapter->find(':');
    const auto number = Number(adapter->substr(0, colon), 255);
    const auto frontend = colon == std::string::npos ? std::optional<unsigned>(0) : Number(adapter->substr(colon + 1), 255);
    if (!number || !frontend) {
      *error = "--adapter needs an adapter number N, or N:F for its frontend F (/dev/dvb/adapterN/frontendF)";
      return CommonOption::Bad;
    }
    line->adapter = static_cast<int>(*number);
    if (colon != std::string::npos) line->frontend = static_cast<int>(*frontend);
  } else if (const auto pause = OptionValue("--sec-pause", args, i)) {
    line->secPauseMs = Number(*pause, 1000);
    if (!line->secPauseMs) {
      *error = "--sec-pause needs a number of milliseconds from 0 to 1000";
      return CommonOption::Bad;
    }
  } else if (const auto ring = OptionValue("--ring-mb", args, i)) {
    line->ringMb = Number(*ring, kMaxCaptureRingMb);
    if (!line->ringMb) {
      *error = "--ring-mb needs a size in MiB from 0 (no ring) to " + std::to_string(kMaxCaptureRingMb);
      return CommonOption::Bad;
    }
  } else {
    return CommonOption::NotOne;
  }
  return CommonOption::Taken;
}

bool CheckCommonOptions(const CommandLine& line, std::string* error) {
  if (line.simulate && (line.adapter || line.secPauseMs)) {
    *error = "--adapter and --sec-pause are for a real card; they cannot go with --simulate";
    return false;
  }
  return true;
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string* error) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    switch (ParseCommonOption(args, &i, &line, error)) {
      case CommonOption::Taken: continue;
      case CommonOption::Bad: return std::nullopt;
      case CommonOption::NotOne: break;
    }
    if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--version") {
      line.version = true;
    } else if (arg == "--verbose") {
      line.verbose = true;
    } else {
      *error = "unknown argument: " + arg;
      return std::nullopt;
    }
  }
  if (!CheckCommonOptions(line, error)) return std::nullopt;
  return line;
}

const char* CommonOptionsUsage() {
  return "  --simulate[=FILE]  use the simulated Orvane RX40 card (FILE: its sky, faults and stream)\n"
         "  --adapter N[:F]    use the DVB-S/S2 adapter /dev/dvb/adapterN (default: the first one found),\n"
         "                     and its frontend F (default: its first DVB-S/S2 frontend)\n"
         "  --sec-pause MS     pause before and after each DiSEqC message on a real card (default 15)\n"
         "  --ring-mb N        memory in MiB that holds the stream while the disk stalls (default 256,\n"
         "                     or the settings file's [Tessel] ring_mb; 0: none)\n"
         "  --data-dir DIR     folder for the settings file, city list, satellite files and help file\n"
         "                     (default: the folder of the executable)\n";
}

std::string UsageText() {
  return std::string(
             "usage: rx40-tessel [--simulate[=FILE] | [--adapter N[:F]] [--sec-pause MS]] [--ring-mb N]\n"
             "                   [--data-dir DIR] [--verbose]\n") +
         CommonOptionsUsage() +
         "  --verbose          write the debug output (driver calls, SEC sequences) on stderr;\n"
         "                     RX40_DEBUG=1 in the environment does the same\n"
         "  --version          the program's version\n"
         "  --help             this text\n"
         "Without a display (SSH, containers) start it with QT_QPA_PLATFORM=offscreen.\n";
}
