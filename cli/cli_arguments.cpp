#include "cli/cli_arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <utility>

#include "app/strict_numbers.h"
#include "platform/media/pls_code.h"

namespace {

// Which option groups a command takes, beside the ones every command takes.
enum Groups : unsigned {
  kNoGroups = 0, kTuneGroup = 1, kStatusGroup = 2, kRecordGroup = 4, kUsalsGroup = 8, kAlignGroup = 16, kMonitorGroup = 32
};

struct CommandEntry {
  CliCommand command;
  const char* name;
  const char* arguments;  // the positional arguments, as the synopsis writes them
  unsigned groups;
  const char* summary;
};

constexpr CommandEntry kCommands[] = {
    {CliCommand::Tune, "tune", "[FREQ_MHZ SYMBOL_RATE]", kTuneGroup, "\"Lock TP\", then wait for lock"},
    {CliCommand::Status, "status", "[FREQ_MHZ SYMBOL_RATE]", kStatusGroup | kTuneGroup,
     "tune, then one reading (or one every interval with --watch)"},
    {CliCommand::Record, "record", "FILE|- [FREQ_MHZ SYMBOL_RATE]", kRecordGroup | kTuneGroup,
     "tune, then record until the limit (--mb or --seconds) or Ctrl-C"},
    {CliCommand::Diseqc, "diseqc", "HEX HEX [HEX [HEX [HEX]]]", kNoGroups, "send a DiSEqC message as \"Set Motor\" does"},
    {CliCommand::Motor, "motor", "east|west|step-east|step-west|stop|limit-east|limit-west|limits-off|goto N|store N",
     kNoGroups, "a Motor/Positioner page button"},
    {CliCommand::Usals, "usals", "", kUsalsGroup | kTuneGroup,
     "\"Go\": point the dish at a satellite (tune options only with --verify)"},
    {CliCommand::Info, "info", "", kNoGroups, "what the card's tuners can do"},
    {CliCommand::Scan, "scan", "SATFILE", kTuneGroup, "tune each transponder of a satellite file and tabulate them"},
    {CliCommand::Align, "align", "[FREQ_MHZ SYMBOL_RATE]", kAlignGroup | kTuneGroup,
     "tune, then a redrawn signal line with the held peak until Ctrl-C"},
    {CliCommand::Monitor, "monitor", "[FREQ_MHZ SYMBOL_RATE]", kMonitorGroup | kTuneGroup,
     "tune, then serve the card's readings to Prometheus on GET /metrics until SIGTERM"},
};

const CommandEntry& EntryOf(CliCommand command) {
  return *std::find_if(std::begin(kCommands), std::end(kCommands),
                       [command](const CommandEntry& entry) { return entry.command == command; });
}

constexpr std::pair<const char*, PositionerCommand> kMotorActions[] = {
    {"east", PositionerCommand::DriveEast},         {"west", PositionerCommand::DriveWest},
    {"step-east", PositionerCommand::StepEast},     {"step-west", PositionerCommand::StepWest},
    {"stop", PositionerCommand::Stop},              {"limit-east", PositionerCommand::SetEastLimit},
    {"limit-west", PositionerCommand::SetWestLimit}, {"limits-off", PositionerCommand::LimitsOff},
    {"goto", PositionerCommand::GotoPosition},      {"store", PositionerCommand::StorePosition},
};

constexpr std::int32_t kMaxMHz = 100'000;
constexpr std::uint32_t kMaxWaitSeconds = 3600;
// A part of at most 1 TB, or of at most a week.
constexpr std::uint32_t kMaxSplitMb = 1'000'000;
constexpr std::uint32_t kMaxSplitSeconds = 7 * 24 * 3600;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// Seconds from 0.1 to one hour, as milliseconds.
std::optional<std::uint32_t> Seconds(const std::string& text) {
  const auto seconds = StrictDecimal(text);
  if (!seconds || *seconds < 0.1 || *seconds > kMaxWaitSeconds) return std::nullopt;
  return static_cast<std::uint32_t>(std::lround(*seconds * 1000));
}

// One byte in hexadecimal: one or two digits, "0x" allowed before them.
std::optional<std::uint8_t> HexByte(std::string text) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.erase(0, 2);
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.empty() || text.size() > 2 || error != std::errc() || end != text.data() + text.size())
    return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

using Form = OptionDecl::Form;
using Refusal = std::optional<std::string>;

auto SetFlag(bool& target) {
  return [&target](const std::string&) -> Refusal {
    target = true;
    return std::nullopt;
  };
}

// The groups, their values taken into line (and into the parser's own
// state, for the checks made once every argument is read).
struct ParseState {
  bool recordLimitGiven = false;
  bool listenGiven = false;
  bool satGiven = false, latGiven = false, lonGiven = false;
  std::optional<std::uint32_t> plsCode;
  std::optional<bool> plsRoot;
};

OptionGroup OwnOptions(CliArguments& line) {
  return {
      {"--json", "", "one JSON object per line on stdout for every reading, result and error", Form::Flag,
       SetFlag(line.json)},
      {"--verbose", "", "also write the debug output (driver calls, boxes) on stderr;\nRX40_DEBUG=1 does the same",
       Form::Flag, SetFlag(line.verbose)},
      {"--help", "", "this text; after a command, that command's usage and options", Form::Flag, SetFlag(line.help),
       "-h"},
  };
}

OptionGroup TuneOptions(TuneArguments& tune, ParseState& state) {
  auto megahertz = [](std::optional<std::int32_t>& target, std::string refusal) {
    return [&target, refusal](const std::string& value) -> Refusal {
      const auto mhz = StrictInteger(value, 1, kMaxMHz);
      if (!mhz) return refusal;
      target = static_cast<std::int32_t>(*mhz);
      return std::nullopt;
    };
  };
  return {
      {"--pol", "H|V", "polarisation: horizontal or vertical", Form::Value,
       [&tune](const std::string& value) -> Refusal {
         const std::string pol = Lower(value);
         if (pol != "h" && pol != "v") return "--pol needs H (horizontal) or V (vertical)";
         tune.polarity = pol == "h" ? 0 : 1;
         return std::nullopt;
       }},
      {"--lnb-low", "MHZ", "the LNB's low-band oscillator, e.g. 9750", Form::Value,
       megahertz(tune.lnbLowMHz, "--lnb-low needs the LNB's low oscillator in whole MHz, e.g. 9750")},
      {"--lnb-high", "MHZ", "the LNB's high-band oscillator, e.g. 10600",
       Form::Value, megahertz(tune.lnbHighMHz, "--lnb-high needs the LNB's high oscillator in whole MHz, e.g. 10600")},
      {"--diseqc", "A|B|C|D|none", "the DiSEqC 1.0 switch port", Form::Value,
       [&tune](const std::string& value) -> Refusal {
         const std::string port = Lower(value);
         if (port == "none") tune.diseqcPort = 0;
         else if (port.size() == 1 && port[0] >= 'a' && port[0] <= 'd') tune.diseqcPort = port[0] - 'a' + 1;
         else return "--diseqc needs a switch port A, B, C or D, or none";
         return std::nullopt;
       }},
      {"--uncommitted", "N", "a DiSEqC 1.1 switch's input 1 to 16, 0 none (default: the settings file's [Tessel])",
       Form::Value,
       [&tune](const std::string& value) -> Refusal {
         const auto port = StrictInteger(value, 0, 16);
         if (!port) return "--uncommitted needs a DiSEqC 1.1 switch input from 1 to 16, or 0 for none";
         tune.uncommittedPort = static_cast<int>(*port);
         return std::nullopt;
       }},
      {"--burst", "A|B|none", "a tone-burst switch's input (default: the settings file's [Tessel])", Form::Value,
       [&tune](const std::string& value) -> Refusal {
         tune.burst = ParseToneBurst(value);
         if (!tune.burst) return "--burst needs A or B (a tone-burst switch's input), or none";
         return std::nullopt;
       }},
      {"--stream", "ts|gs", "the card's output: transport stream or generic stream (default: as it is)", Form::Value,
       [&tune](const std::string& value) -> Refusal {
         const std::string stream = Lower(value);
         if (stream != "ts" && stream != "gs") return "--stream needs ts (transport stream) or gs (generic stream)";
         tune.stream = stream == "ts" ? OutputStream::TransportStream : OutputStream::GenericStream;
         return std::nullopt;
       }},
      {"--isi", "N", "the input stream of a multiple-input-stream carrier, 0 to 255", Form::Value,
       [&tune](const std::string& value) -> Refusal {
         const auto id = StrictInteger(value, 0, 255);
         if (!id) return "--isi needs an input stream identifier from 0 to 255";
         tune.inputStreamId = static_cast<int>(*id);
         return std::nullopt;
       }},
      {"--pls-code", "N", "a scrambled DVB-S2 carrier's code (in --pls-mode)", Form::Value,
       [&state](const std::string& value) -> Refusal {
         const auto code = StrictInteger(value, 0, 262143);
         if (!code) return "--pls-code needs the scrambling code, 0 to 262142 (gold) or 1 to 262143 (root)";
         state.plsCode = static_cast<std::uint32_t>(*code);
         return std::nullopt;
       }},
      {"--pls-mode", "gold|root", "how --pls-code is written (default gold)", Form::Value,
       [&state](const std::string& value) -> Refusal {
         const std::string mode = Lower(value);
         if (mode != "gold" && mode != "root") return "--pls-mode needs gold or root";
         state.plsRoot = mode == "root";
         return std::nullopt;
       }},
      {"--timeout", "S", "the wait for lock in seconds (default 10)", Form::Value,
       [&tune](const std::string& value) -> Refusal {
         const auto ms = Seconds(value);
         if (!ms) return "--timeout needs seconds from 0.1 to 3600";
         tune.timeoutMs = *ms;
         return std::nullopt;
       }},
  };
}

auto IntervalInto(std::uint32_t& target) {
  return [&target](const std::string& value) -> Refusal {
    const auto ms = Seconds(value);
    if (!ms) return "--interval needs seconds from 0.1 to 3600";
    target = *ms;
    return std::nullopt;
  };
}

OptionGroup StatusOptions(StatusArguments& status) {
  return {
      {"--watch", "", "a reading every interval until Ctrl-C", Form::Flag, SetFlag(status.watch)},
      {"--interval", "S", "seconds between readings with --watch (default 1)", Form::Value, IntervalInto(status.intervalMs)},
  };
}

// Parts of a recording, for record and for monitor --record.
OptionGroup SplitOptions(std::optional<std::uint32_t>& splitMb, std::optional<std::uint32_t>& splitSeconds,
                         const char* mbHelp, const char* secondsHelp) {
  return {
      {"--split-mb", "N", mbHelp, Form::Value,
       [&splitMb](const std::string& value) -> Refusal {
         const auto mb = StrictInteger(value, 1, kMaxSplitMb);
         if (!mb) return "--split-mb needs the size of a part in MB, from 1 to " + std::to_string(kMaxSplitMb);
         splitMb = static_cast<std::uint32_t>(*mb);
         return std::nullopt;
       }},
      {"--split-seconds", "N", secondsHelp, Form::Value,
       [&splitSeconds](const std::string& value) -> Refusal {
         const auto seconds = StrictInteger(value, 1, kMaxSplitSeconds);
         if (!seconds)
           return "--split-seconds needs the length of a part in seconds, from 1 to " + std::to_string(kMaxSplitSeconds);
         splitSeconds = static_cast<std::uint32_t>(*seconds);
         return std::nullopt;
       }},
  };
}

OptionGroup Joined(OptionGroup first, const OptionGroup& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

OptionGroup RecordOptions(RecordArguments& record, ParseState& state) {
  auto limit = [&record, &state](const char* name, LimitMode mode, LimitRange range) {
    return [&record, &state, name, mode, range](const std::string& value) -> Refusal {
      if (state.recordLimitGiven) return std::string("give one limit: --mb or --seconds");
      state.recordLimitGiven = true;
      const auto given = StrictInteger(value, range.low, range.high);
      if (!given)
        return std::string(name) + " needs a whole number from " + std::to_string(range.low) + " to " +
               std::to_string(range.high);
      record.mode = mode;
      record.limit = static_cast<std::uint32_t>(*given);
      return std::nullopt;
    };
  };
  return Joined({
      {"--mb", "N", "the size limit in MB, 50 to 800000 (this or --seconds)", Form::Value,
       limit("--mb", LimitMode::FileSize, kSizeLimitMB)},
      {"--seconds", "N", "the time limit in seconds, 1 to 65535 (this or --mb)", Form::Value,
       limit("--seconds", LimitMode::Time, kTimeLimitSeconds)},
  }, SplitOptions(record.splitMb, record.splitSeconds, "write parts of at most N MB (FILE-0001.ts, ...)",
                  "write parts of at most N seconds"));
}

OptionGroup UsalsOptions(UsalsArguments& usals, ParseState& state) {
  auto degrees = [](double& target, bool& given, std::string refusal) {
    return [&target, &given, refusal](const std::string& value) -> Refusal {
      const auto parsed = StrictDecimal(value);
      if (!parsed) return refusal;
      target = *parsed;
      given = true;
      return std::nullopt;
    };
  };
  return {
      {"--sat", "NNNN", "the satellite: four digits of tenths east (0192 for 19.2E, 3300 for 30.0W)", Form::Value,
       [&usals, &state](const std::string& value) -> Refusal {
         usals.satellite = value;
         state.satGiven = true;
         return std::nullopt;
       },
       "", true},
      {"--lat", "DEG", "the site's latitude, north positive", Form::Value,
       degrees(usals.latitude, state.latGiven, "--lat needs the site's latitude in degrees, north positive, e.g. 51.5"),
       "", true},
      {"--lon", "DEG", "the site's longitude, east positive", Form::Value,
       degrees(usals.longitude, state.lonGiven, "--lon needs the site's longitude in degrees, east positive, e.g. -0.1"),
       "", true},
      {"--dry-run", "", "compute and print, send nothing (no card needed)", Form::Flag, SetFlag(usals.dryRun)},
      {"--verify", "", "then wait the motor's travel and tune the satellite's reference transponder", Form::Flag,
       SetFlag(usals.verify)},
  };
}

OptionGroup AlignOptions(AlignArguments& align) {
  return {{"--interval", "S", "seconds between readings (default 0.25)", Form::Value, IntervalInto(align.intervalMs)}};
}

OptionGroup MonitorOptions(MonitorArguments& monitor, ParseState& state) {
  return Joined({
      {"--listen", "ADDR:PORT", "where to serve /metrics, e.g. 127.0.0.1:9740 ([::1]:9740; port 0: any free one)",
       Form::Value,
       [&monitor, &state](const std::string& value) -> Refusal {
         std::string error;
         const auto address = ParseListenAddress(value, &error);
         if (!address) return error;
         monitor.listen = *address;
         state.listenGiven = true;
         return std::nullopt;
       },
       "", true},
      {"--listen-any", "", "allow a wildcard --listen address (0.0.0.0, ::): every network the machine is on",
       Form::Flag, SetFlag(monitor.listenAny)},
      {"--record", "FILE", "also record the stream into FILE while the card is there", Form::Value,
       [&monitor](const std::string& value) -> Refusal {
         if (value.empty()) return "--record needs a FILE";
         monitor.recordFile = value;
         return std::nullopt;
       }},
  }, SplitOptions(monitor.splitMb, monitor.splitSeconds, "with --record: parts of at most N MB",
                  "with --record: parts of at most N seconds"));
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : m_args(args) {}

  CliParse Run();

 private:
  bool TakeCommandName(const std::string& arg);
  bool Finish();
  bool FinishPls();
  bool FinishTunePositionals(std::size_t first);
  bool FinishRecord();
  bool FinishDiseqc();
  bool FinishMotor();
  bool FinishUsals();
  bool FinishScan();
  bool FinishMonitor();
  // The command's own groups, once it is known.
  OptionTake TakeCommandOption(std::size_t* i);

  const std::vector<std::string>& m_args;
  CliArguments m_line;
  ParseState m_state;
  std::vector<std::string> m_positionals;
  std::string m_tuneOptionGiven;  // the first, for a command that takes them only sometimes
  std::string m_error;
};

OptionTake Parser::TakeCommandOption(std::size_t* i) {
  const unsigned groups = EntryOf(*m_line.command).groups;
  const std::pair<unsigned, OptionGroup> candidates[] = {
      {kStatusGroup, StatusOptions(m_line.status)},
      {kRecordGroup, RecordOptions(m_line.record, m_state)},
      {kUsalsGroup, UsalsOptions(m_line.usals, m_state)},
      {kAlignGroup, AlignOptions(m_line.align)},
      {kMonitorGroup, MonitorOptions(m_line.monitor, m_state)},
      {kTuneGroup, TuneOptions(m_line.tune, m_state)},
  };
  for (const auto& [group, options] : candidates) {
    if (!(groups & group)) continue;
    const OptionDecl* taken = nullptr;
    const OptionTake result = TakeOption(options, m_args, i, &m_error, &taken);
    if (result == OptionTake::NotOne) continue;
    if (group == kTuneGroup && m_tuneOptionGiven.empty()) m_tuneOptionGiven = taken->name;
    return result;
  }
  return OptionTake::NotOne;
}

bool Parser::TakeCommandName(const std::string& arg) {
  for (const CommandEntry& entry : kCommands) {
    if (arg == entry.name) {
      m_line.command = entry.command;
      return true;
    }
  }
  m_error = "unknown command: " + arg;
  return false;
}

CliParse Parser::Run() {
  CliParse result;
  const OptionGroup own = OwnOptions(m_line);
  const OptionGroup common = CommonOptions(m_line.common);
  for (std::size_t i = 0; i < m_args.size(); ++i) {
    const std::string& arg = m_args[i];
    OptionTake taken = TakeOption(own, m_args, &i, &m_error);
    if (taken == OptionTake::NotOne) taken = TakeOption(common, m_args, &i, &m_error);
    if (taken == OptionTake::NotOne && m_line.command) taken = TakeCommandOption(&i);
    if (taken == OptionTake::Bad) break;
    if (taken == OptionTake::Taken) continue;
    if (arg.starts_with("--")) {
      m_error = "unknown option: " + arg;
      break;
    }
    if (!m_line.command) {
      if (!TakeCommandName(arg)) break;
      continue;
    }
    m_positionals.push_back(arg);
  }
  result.command = m_line.command;
  result.json = m_line.json;
  if (m_error.empty() && !m_line.help) {
    if (!m_line.command) m_error = "no command given";
    else Finish();
  }
  if (m_error.empty()) CheckCommonOptions(m_line.common, &m_error);
  if (m_error.empty()) result.arguments = std::move(m_line);
  else result.error = std::move(m_error);
  return result;
}

bool Parser::FinishPls() {
  if (!m_state.plsCode) {
    if (m_state.plsRoot) m_error = "--pls-mode goes with --pls-code";
    return !m_state.plsRoot;
  }
  if (!m_state.plsRoot.value_or(false)) {
    if (*m_state.plsCode > dvb::kMaxPlsGold) {
      m_error = "--pls-code " + std::to_string(*m_state.plsCode) + " is no Gold code (0 to 262142)";
      return false;
    }
    m_line.tune.plsGold = *m_state.plsCode;
    return true;
  }
  m_line.tune.plsGold = dvb::PlsRootToGold(*m_state.plsCode);
  if (!m_line.tune.plsGold) m_error = "--pls-code " + std::to_string(*m_state.plsCode) + " is no scrambling root";
  return m_line.tune.plsGold.has_value();
}

bool Parser::Finish() {
  if (!FinishPls()) return false;
  switch (*m_line.command) {
    case CliCommand::Info:
      if (!m_positionals.empty()) m_error = "unexpected argument: " + m_positionals[0];
      return m_positionals.empty();
    case CliCommand::Tune:
    case CliCommand::Status:
    case CliCommand::Align: return FinishTunePositionals(0);
    case CliCommand::Scan: return FinishScan();
    case CliCommand::Monitor: return FinishMonitor();
    case CliCommand::Record: return FinishRecord();
    case CliCommand::Diseqc: return FinishDiseqc();
    case CliCommand::Motor: return FinishMotor();
    case CliCommand::Usals: return FinishUsals();
  }
  return false;
}

bool Parser::FinishTunePositionals(std::size_t first) {
  const std::size_t count = m_positionals.size() - first;
  if (count == 0) return true;
  if (count != 2) {
    m_error = count == 1 ? "give both FREQ_MHZ and SYMBOL_RATE" : "unexpected argument: " + m_positionals[first + 2];
    return false;
  }
  const auto frequency = StrictInteger(m_positionals[first], 1, kMaxMHz);
  if (!frequency) {
    m_error = "FREQ_MHZ must be the downlink frequency in whole MHz, e.g. 11362, not " + m_positionals[first];
    return false;
  }
  const auto symbolRate = StrictInteger(m_positionals[first + 1], 1, kMaxMHz);
  if (!symbolRate) {
    m_error = "SYMBOL_RATE must be in whole kS/s, e.g. 22000, not " + m_positionals[first + 1];
    return false;
  }
  m_line.tune.frequencyMHz = static_cast<std::int32_t>(*frequency);
  m_line.tune.symbolRateKs = static_cast<std::int32_t>(*symbolRate);
  return true;
}

bool Parser::FinishRecord() {
  if (m_positionals.empty() || m_positionals[0].empty()) {
    m_error = "give the FILE to record into";
    return false;
  }
  if (!m_state.recordLimitGiven) {
    m_error = "give a limit: --mb N (" + std::to_string(kSizeLimitMB.low) + " to " +
              std::to_string(kSizeLimitMB.high) + ") or --seconds N (" + std::to_string(kTimeLimitSeconds.low) +
              " to " + std::to_string(kTimeLimitSeconds.high) + ")";
    return false;
  }
  m_line.record.file = m_positionals[0];
  const RecordArguments& record = m_line.record;
  if (record.splitMb && record.splitSeconds) {
    m_error = "give one way of splitting: --split-mb or --split-seconds";
    return false;
  }
  if (record.file == "-" && (record.splitMb || record.splitSeconds)) {
    m_error = "a recording to standard output (-) cannot be split into files";
    return false;
  }
  return FinishTunePositionals(1);
}

bool Parser::FinishDiseqc() {
  if (m_positionals.size() < 2 || m_positionals.size() > 5) {
    m_error = "give 2 to 5 message bytes in hexadecimal, e.g. E0 31 60";
    return false;
  }
  for (const std::string& text : m_positionals) {
    const auto byte = HexByte(text);
    if (!byte) {
      m_error = "not a byte in hexadecimal: " + text;
      return false;
    }
    m_line.diseqc.push_back(*byte);
  }
  return true;
}

bool Parser::FinishMotor() {
  if (m_positionals.empty()) {
    m_error = "give what the motor is to do";
    return false;
  }
  const auto* action = std::find_if(std::begin(kMotorActions), std::end(kMotorActions),
                                    [&](const auto& entry) { return m_positionals[0] == entry.first; });
  if (action == std::end(kMotorActions)) {
    m_error = "unknown motor action: " + m_positionals[0];
    return false;
  }
  m_line.motor.command = action->second;
  const bool takesPosition =
      action->second == PositionerCommand::GotoPosition || action->second == PositionerCommand::StorePosition;
  const std::size_t expected = takesPosition ? 2 : 1;
  if (m_positionals.size() != expected) {
    m_error = takesPosition ? m_positionals[0] + " needs a position number from 0 to 255"
                            : "unexpected argument: " + m_positionals[1];
    return false;
  }
  if (takesPosition) {
    const auto position = StrictInteger(m_positionals[1], 0, 255);
    if (!position) {
      m_error = m_positionals[0] + " needs a position number from 0 to 255, not " + m_positionals[1];
      return false;
    }
    m_line.motor.position = static_cast<std::uint8_t>(*position);
  }
  return true;
}

bool Parser::FinishUsals() {
  if (!m_positionals.empty()) {
    m_error = "unexpected argument: " + m_positionals[0];
    return false;
  }
  if (!m_state.satGiven || !m_state.latGiven || !m_state.lonGiven) {
    m_error = "give --sat, --lat and --lon";
    return false;
  }
  if (m_line.usals.verify && m_line.usals.dryRun) {
    m_error = "give --dry-run or --verify, not both";
    return false;
  }
  if (!m_line.usals.verify && !m_tuneOptionGiven.empty()) {
    m_error = m_tuneOptionGiven + " goes with --verify (the tune of the reference transponder)";
    return false;
  }
  // The position as the satellite list writes it: its first four
  // characters are digits (a decimal point there would read as tenths).
  const std::string& sat = m_line.usals.satellite;
  const std::size_t digits = std::min<std::size_t>(4, sat.size());
  if (digits == 0 || !std::all_of(sat.begin(), sat.begin() + static_cast<std::ptrdiff_t>(digits),
                                  [](unsigned char c) { return std::isdigit(c); })) {
    m_error = "--sat needs the satellite's position in tenths of a degree east as four digits "
              "(0192 for 19.2E, 3300 for 30.0W), not " + sat;
    return false;
  }
  return true;
}

bool Parser::FinishMonitor() {
  const MonitorArguments& monitor = m_line.monitor;
  if (!m_state.listenGiven) {
    m_error = "give --listen ADDR:PORT, e.g. 127.0.0.1:9740 (no port is opened by default)";
    return false;
  }
  if (monitor.listen.wildcard && !monitor.listenAny) {
    m_error = "--listen " + monitor.listen.host + " opens the port to every network of this machine; give an address "
              "(127.0.0.1 for this machine only) or add --listen-any";
    return false;
  }
  if ((monitor.splitMb || monitor.splitSeconds) && monitor.recordFile.empty()) {
    m_error = "--split-mb and --split-seconds go with --record";
    return false;
  }
  if (monitor.splitMb && monitor.splitSeconds) {
    m_error = "give one way of splitting: --split-mb or --split-seconds";
    return false;
  }
  return FinishTunePositionals(0);
}

bool Parser::FinishScan() {
  if (m_positionals.size() != 1 || m_positionals[0].empty()) {
    m_error = m_positionals.empty() ? "give the SATFILE whose transponders to scan"
                                    : "unexpected argument: " + m_positionals[1];
    return false;
  }
  m_line.scan.satelliteFile = m_positionals[0];
  return true;
}

}  // namespace

CliParse ParseCliArguments(const std::vector<std::string>& args) { return Parser(args).Run(); }

const char* CommandName(CliCommand command) { return EntryOf(command).name; }

namespace {

std::string Synopsis(const CommandEntry& entry) {
  CliArguments line;
  ParseState state;
  std::string text = entry.name;
  if (*entry.arguments) text += std::string(" ") + entry.arguments;
  if (entry.groups & kStatusGroup) text += " " + OptionsSynopsis(StatusOptions(line.status));
  if (entry.groups & kRecordGroup) text += " " + OptionsSynopsis(RecordOptions(line.record, state));
  if (entry.groups & kUsalsGroup) text += " " + OptionsSynopsis(UsalsOptions(line.usals, state));
  if (entry.groups & kAlignGroup) text += " " + OptionsSynopsis(AlignOptions(line.align));
  if (entry.groups & kMonitorGroup) text += " " + OptionsSynopsis(MonitorOptions(line.monitor, state));
  if (entry.groups & kTuneGroup) text += " [TUNE OPTIONS]";
  return text;
}

}  // namespace

std::string CommandUsage(CliCommand command) {
  return "usage: rx40ctl [OPTIONS] " + Synopsis(EntryOf(command)) + "\n";
}

std::string CommandHelp(CliCommand command) {
  const CommandEntry& entry = EntryOf(command);
  CliArguments line;
  ParseState state;
  std::string text = CommandUsage(command) + "\n" + entry.summary + "\n";
  const std::pair<unsigned, OptionGroup> groups[] = {
      {kStatusGroup, StatusOptions(line.status)}, {kRecordGroup, RecordOptions(line.record, state)},
      {kUsalsGroup, UsalsOptions(line.usals, state)}, {kAlignGroup, AlignOptions(line.align)},
      {kMonitorGroup, MonitorOptions(line.monitor, state)},
  };
  for (const auto& [group, options] : groups)
    if (entry.groups & group) text += "\n" + OptionsHelp(options);
  if (entry.groups & kTuneGroup) text += "\nTune options:\n" + OptionsHelp(TuneOptions(line.tune, state));
  return text;
}

std::string GeneralUsage() {
  CliArguments line;
  ParseState state;
  std::string text = "usage: rx40ctl [OPTIONS] COMMAND [ARGUMENTS]\n\nCommands:\n";
  for (const CommandEntry& entry : kCommands) text += "  " + Synopsis(entry) + "\n";
  text +=
      "\nTune options (tune, status, record, scan, align, monitor, usals --verify). What is not given comes\n"
      "from the settings file, as the window's last \"Lock TP\" left it; tune, status, record and\n"
      "align save the transponder there, as \"Lock TP\" does:\n";
  text += OptionsHelp(TuneOptions(line.tune, state));
  text += "\nOptions:\n" + CommonOptionsUsage() + OptionsHelp(OwnOptions(line));
  text += "\nrx40ctl COMMAND --help shows a command's options.\n"
          "Exit status: 0 success, 1 the card or its driver failed, 2 bad usage.\n";
  return text;
}
