#include "app/command_line.h"

#include <string>

#include "app/strict_numbers.h"

#include "platform/media/capture_ring_size.h"

namespace {

std::optional<std::string> Refused(const std::string& text) { return text; }

}  // namespace

OptionGroup CommonOptions(CommandLine& line) {
  using Form = OptionDecl::Form;
  return {
      {"--simulate", "FILE", "use the simulated Orvane RX40 card (FILE: its sky, faults and stream)", Form::AttachedValue,
       [&line](const std::string& file) -> std::optional<std::string> {
         line.simulate = true;
         line.simulationFile = file;
         return std::nullopt;
       }},
      {"--adapter", "N[:F]",
       "use the DVB-S/S2 adapter /dev/dvb/adapterN (default: the first one found),\n"
       "and its frontend F (default: its first DVB-S/S2 frontend)",
       Form::Value,
       [&line](const std::string& value) -> std::optional<std::string> {
         const auto colon = value.find(':');
         const auto number = StrictInteger(value.substr(0, colon), 0, 255);
         const auto frontend =
             colon == std::string::npos ? std::optional<std::int64_t>(0) : StrictInteger(value.substr(colon + 1), 0, 255);
         if (!number || !frontend)
           return Refused("--adapter needs an adapter number N, or N:F for its frontend F (/dev/dvb/adapterN/frontendF)");
         line.adapter = static_cast<int>(*number);
         if (colon != std::string::npos) line.frontend = static_cast<int>(*frontend);
         return std::nullopt;
       }},
      {"--sec-pause", "MS", "pause before and after each DiSEqC message on a real card (default 15)", Form::Value,
       [&line](const std::string& value) -> std::optional<std::string> {
         const auto ms = StrictInteger(value, 0, 1000);
         if (!ms) return Refused("--sec-pause needs a number of milliseconds from 0 to 1000");
         line.secPauseMs = static_cast<unsigned>(*ms);
         return std::nullopt;
       }},
      {"--ring-mb", "N",
       "memory in MiB that holds the stream while the disk stalls (default 256,\n"
       "or the settings file's [Tessel] ring_mb; 0: none)",
       Form::Value,
       [&line](const std::string& value) -> std::optional<std::string> {
         const auto mb = StrictInteger(value, 0, kMaxCaptureRingMb);
         if (!mb) return Refused("--ring-mb needs a size in MiB from 0 (no ring) to " + std::to_string(kMaxCaptureRingMb));
         line.ringMb = static_cast<unsigned>(*mb);
         return std::nullopt;
       }},
      {"--data-dir", "DIR",
       "folder for the settings file, city list, satellite files and help file\n"
       "(default: the executable's folder in a build, ~/.config/rx40-tessel once installed)",
       Form::Value,
       [&line](const std::string& value) -> std::optional<std::string> {
         if (value.empty()) return Refused("--data-dir needs a folder");
         line.dataDir = value;
         while (line.dataDir.size() > 1 && line.dataDir.back() == '/') line.dataDir.pop_back();
         return std::nullopt;
       }},
  };
}

bool CheckCommonOptions(const CommandLine& line, std::string* error) {
  if (line.simulate && (line.adapter || line.secPauseMs)) {
    *error = "--adapter and --sec-pause are for a real card; they cannot go with --simulate";
    return false;
  }
  return true;
}

namespace {

OptionGroup WindowOptions(CommandLine& line) {
  using Form = OptionDecl::Form;
  auto flag = [](bool& target) {
    return [&target](const std::string&) -> std::optional<std::string> {
      target = true;
      return std::nullopt;
    };
  };
  return {
      {"--verbose", "", "write the debug output (driver calls, SEC sequences) on stderr;\nRX40_DEBUG=1 in the environment does the same",
       Form::Flag, flag(line.verbose)},
      {"--version", "", "the program's version", Form::Flag, flag(line.version)},
      {"--help", "", "this text", Form::Flag, flag(line.help), "-h"},
  };
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string* error) {
  CommandLine line;
  const OptionGroup common = CommonOptions(line);
  const OptionGroup own = WindowOptions(line);
  for (std::size_t i = 0; i < args.size(); ++i) {
    OptionTake taken = TakeOption(common, args, &i, error);
    if (taken == OptionTake::NotOne) taken = TakeOption(own, args, &i, error);
    if (taken == OptionTake::Bad) return std::nullopt;
    if (taken == OptionTake::NotOne) {
      *error = "unknown argument: " + args[i];
      return std::nullopt;
    }
  }
  if (!CheckCommonOptions(line, error)) return std::nullopt;
  return line;
}

std::string CommonOptionsUsage() {
  CommandLine unused;
  return OptionsHelp(CommonOptions(unused));
}

std::string UsageText() {
  CommandLine unused;
  return "usage: rx40-tessel [--simulate[=FILE] | [--adapter N[:F]] [--sec-pause MS]] [--ring-mb N]\n"
         "                   [--data-dir DIR] [--verbose] [--version] [--help]\n" +
         CommonOptionsUsage() + OptionsHelp(WindowOptions(unused)) +
         "Without a display (SSH, containers) start it with QT_QPA_PLATFORM=offscreen.\n";
}
