#include "cli/cli_arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <utility>

#include "platform/media/pls_code.h"

namespace {

struct CommandEntry {
  CliCommand command;
  const char* name;
  const char* usage;
};

constexpr CommandEntry kCommands[] = {
    {CliCommand::Tune, "tune",
     "tune [FREQ_MHZ SYMBOL_RATE] [--pol H|V] [--lnb-low MHZ] [--lnb-high MHZ] [--diseqc A|B|C|D|none]\n"
     "             [--uncommitted N] [--burst A|B|none] [--stream ts|gs] [--isi N]\n"
     "             [--pls-code N [--pls-mode gold|root]] [--timeout S]"},
    {CliCommand::Status, "status", "status [FREQ_MHZ SYMBOL_RATE] [TUNE OPTIONS] [--watch] [--interval S]"},
    {CliCommand::Record, "record",
     "record FILE|- (--mb N | --seconds N) [--split-mb N | --split-seconds N] [FREQ_MHZ SYMBOL_RATE] "
     "[TUNE OPTIONS]"},
    {CliCommand::Diseqc, "diseqc", "diseqc HEX HEX [HEX [HEX [HEX]]]"},
    {CliCommand::Motor, "motor",
     "motor east|west|step-east|step-west|stop|limit-east|limit-west|limits-off|goto N|store N"},
    {CliCommand::Usals, "usals", "usals --sat NNNN --lat DEG --lon DEG [--dry-run | --verify [TUNE OPTIONS]]"},
    {CliCommand::Info, "info", "info"},
    {CliCommand::Scan, "scan", "scan SATFILE [TUNE OPTIONS]"},
    {CliCommand::Align, "align", "align [FREQ_MHZ SYMBOL_RATE] [TUNE OPTIONS] [--interval S]"},
};

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

// A whole decimal number from low to high, all of text.
std::optional<std::int64_t> Integer(const std::string& text, std::int64_t low, std::int64_t high) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return std::nullopt;
  return value;
}

// A decimal number, all of text, in the C locale's form whatever the process's.
std::optional<double> Decimal(const std::string& text) {
  double value = 0;
  const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value, std::chars_format::fixed);
  if (begin == text.data() + text.size() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

// Seconds from 0.1 to one hour, as milliseconds.
std::optional<std::uint32_t> Seconds(const std::string& text) {
  const auto seconds = Decimal(text);
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

// The value of "--name VALUE" or "--name=VALUE" when args[*i] is that option.
std::optional<std::string> OptionValue(const char* name, const std::vector<std::string>& args, std::size_t* i) {
  const std::string& arg = args[*i];
  const std::string option(name);
  if (arg == option) return *i + 1 < args.size() ? args[++*i] : std::string();
  if (arg.starts_with(option + "=")) return arg.substr(option.size() + 1);
  return std::nullopt;
}

enum class Take { NotOne, Taken, Bad };

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& args) : m_args(args) {}

  CliParse Run();

 private:
  Take Fail(std::string error) {
    m_error = std::move(error);
    return Take::Bad;
  }
  Take TakeOwnOption(std::size_t* i);
  Take TakeCommandOption(std::size_t* i);
  Take TakeTuneOption(std::size_t* i);
  Take TakeTuneValue(std::size_t* i);
  bool TakeCommandName(const std::string& arg);
  bool Finish();
  bool FinishPls();
  bool FinishTunePositionals(std::size_t first);
  bool FinishRecord();
  bool FinishDiseqc();
  bool FinishMotor();
  bool FinishUsals();
  bool FinishScan();

  const std::vector<std::string>& m_args;
  CliArguments m_line;
  std::vector<std::string> m_positionals;
  bool m_recordLimitGiven = false;
  bool m_satGiven = false, m_latGiven = false, m_lonGiven = false;
  std::string m_tuneOptionGiven;  // the first, for a command that takes them only sometimes
  std::optional<std::uint32_t> m_plsCode;
  std::optional<bool> m_plsRoot;
  std::string m_error;
};

Take Parser::TakeOwnOption(std::size_t* i) {
  const std::string& arg = m_args[*i];
  if (arg == "--json") m_line.json = true;
  else if (arg == "--verbose") m_line.verbose = true;
  else if (arg == "--help" || arg == "-h") m_line.help = true;
  else return Take::NotOne;
  return Take::Taken;
}

Take Parser::TakeTuneOption(std::size_t* i) {
  const std::string option = m_args[*i].substr(0, m_args[*i].find('='));
  const Take taken = TakeTuneValue(i);
  if (taken == Take::Taken && m_tuneOptionGiven.empty()) m_tuneOptionGiven = option;
  return taken;
}

Take Parser::TakeTuneValue(std::size_t* i) {
  TuneArguments& tune = m_line.tune;
  if (const auto value = OptionValue("--pol", m_args, i)) {
    const std::string pol = Lower(*value);
    if (pol != "h" && pol != "v") return Fail("--pol needs H (horizontal) or V (vertical)");
    tune.polarity = pol == "h" ? 0 : 1;
  } else if (const auto value = OptionValue("--lnb-low", m_args, i)) {
    const auto mhz = Integer(*value, 1, kMaxMHz);
    if (!mhz) return Fail("--lnb-low needs the LNB's low oscillator in whole MHz, e.g. 9750");
    tune.lnbLowMHz = static_cast<std::int32_t>(*mhz);
  } else if (const auto value = OptionValue("--lnb-high", m_args, i)) {
    const auto mhz = Integer(*value, 1, kMaxMHz);
    if (!mhz) return Fail("--lnb-high needs the LNB's high oscillator in whole MHz, e.g. 10600");
    tune.lnbHighMHz = static_cast<std::int32_t>(*mhz);
  } else if (const auto value = OptionValue("--diseqc", m_args, i)) {
    const std::string port = Lower(*value);
    if (port == "none") tune.diseqcPort = 0;
    else if (port.size() == 1 && port[0] >= 'a' && port[0] <= 'd') tune.diseqcPort = port[0] - 'a' + 1;
    else return Fail("--diseqc needs a switch port A, B, C or D, or none");
  } else if (const auto value = OptionValue("--stream", m_args, i)) {
    const std::string stream = Lower(*value);
    if (stream != "ts" && stream != "gs") return Fail("--stream needs ts (transport stream) or gs (generic stream)");
    tune.stream = stream == "ts" ? OutputStream::TransportStream : OutputStream::GenericStream;
  } else if (const auto value = OptionValue("--isi", m_args, i)) {
    const auto id = Integer(*value, 0, 255);
    if (!id) return Fail("--isi needs an input stream identifier from 0 to 255");
    tune.inputStreamId = static_cast<int>(*id);
  } else if (const auto value = OptionValue("--timeout", m_args, i)) {
    const auto ms = Seconds(*value);
    if (!ms) return Fail("--timeout needs seconds from 0.1 to 3600");
    tune.timeoutMs = *ms;
  } else if (const auto value = OptionValue("--burst", m_args, i)) {
    tune.burst = ParseToneBurst(*value);
    if (!tune.burst) return Fail("--burst needs A or B (a tone-burst switch's input), or none");
  } else if (const auto value = OptionValue("--uncommitted", m_args, i)) {
    const auto port = Integer(*value, 0, 16);
    if (!port) return Fail("--uncommitted needs a DiSEqC 1.1 switch input from 1 to 16, or 0 for none");
    tune.uncommittedPort = static_cast<int>(*port);
  } else if (const auto value = OptionValue("--pls-code", m_args, i)) {
    const auto code = Integer(*value, 0, 262143);
    if (!code) return Fail("--pls-code needs the scrambling code, 0 to 262142 (gold) or 1 to 262143 (root)");
    m_plsCode = static_cast<std::uint32_t>(*code);
  } else if (const auto value = OptionValue("--pls-mode", m_args, i)) {
    const std::string mode = Lower(*value);
    if (mode != "gold" && mode != "root") return Fail("--pls-mode needs gold or root");
    m_plsRoot = mode == "root";
  } else {
    return Take::NotOne;
  }
  return Take::Taken;
}

Take Parser::TakeCommandOption(std::size_t* i) {
  switch (*m_line.command) {
    case CliCommand::Tune: return TakeTuneOption(i);
    case CliCommand::Status:
      if (m_args[*i] == "--watch") {
        m_line.status.watch = true;
        return Take::Taken;
      }
      if (const auto value = OptionValue("--interval", m_args, i)) {
        const auto ms = Seconds(*value);
        if (!ms) return Fail("--interval needs seconds from 0.1 to 3600");
        m_line.status.intervalMs = *ms;
        return Take::Taken;
      }
      return TakeTuneOption(i);
    case CliCommand::Record: {
      if (const auto value = OptionValue("--split-mb", m_args, i)) {
        const auto mb = Integer(*value, 1, kMaxSplitMb);
        if (!mb) return Fail("--split-mb needs the size of a part in MB, from 1 to " + std::to_string(kMaxSplitMb));
        m_line.record.splitMb = static_cast<std::uint32_t>(*mb);
        return Take::Taken;
      }
      if (const auto value = OptionValue("--split-seconds", m_args, i)) {
        const auto seconds = Integer(*value, 1, kMaxSplitSeconds);
        if (!seconds)
          return Fail("--split-seconds needs the length of a part in seconds, from 1 to " +
                      std::to_string(kMaxSplitSeconds));
        m_line.record.splitSeconds = static_cast<std::uint32_t>(*seconds);
        return Take::Taken;
      }
      const bool mb = m_args[*i] == "--mb" || m_args[*i].starts_with("--mb=");
      const auto value = mb ? OptionValue("--mb", m_args, i) : OptionValue("--seconds", m_args, i);
      if (!value) return TakeTuneOption(i);
      if (m_recordLimitGiven) return Fail("give one limit: --mb or --seconds");
      m_recordLimitGiven = true;
      const LimitRange range = mb ? kSizeLimitMB : kTimeLimitSeconds;
      const auto limit = Integer(*value, range.low, range.high);
      if (!limit)
        return Fail(std::string(mb ? "--mb" : "--seconds") + " needs a whole number from " +
                    std::to_string(range.low) + " to " + std::to_string(range.high));
      m_line.record.mode = mb ? LimitMode::FileSize : LimitMode::Time;
      m_line.record.limit = static_cast<std::uint32_t>(*limit);
      return Take::Taken;
    }
    case CliCommand::Usals:
      if (m_args[*i] == "--dry-run") {
        m_line.usals.dryRun = true;
      } else if (m_args[*i] == "--verify") {
        m_line.usals.verify = true;
      } else if (const auto value = OptionValue("--sat", m_args, i)) {
        m_line.usals.satellite = *value;
        m_satGiven = true;
      } else if (const auto value = OptionValue("--lat", m_args, i)) {
        const auto degrees = Decimal(*value);
        if (!degrees) return Fail("--lat needs the site's latitude in degrees, north positive, e.g. 51.5");
        m_line.usals.latitude = *degrees;
        m_latGiven = true;
      } else if (const auto value = OptionValue("--lon", m_args, i)) {
        const auto degrees = Decimal(*value);
        if (!degrees) return Fail("--lon needs the site's longitude in degrees, east positive, e.g. -0.1");
        m_line.usals.longitude = *degrees;
        m_lonGiven = true;
      } else {
        return TakeTuneOption(i);
      }
      return Take::Taken;
    case CliCommand::Scan: return TakeTuneOption(i);
    case CliCommand::Align:
      if (const auto value = OptionValue("--interval", m_args, i)) {
        const auto ms = Seconds(*value);
        if (!ms) return Fail("--interval needs seconds from 0.1 to 3600");
        m_line.align.intervalMs = *ms;
        return Take::Taken;
      }
      return TakeTuneOption(i);
    case CliCommand::Diseqc:
    case CliCommand::Motor:
    case CliCommand::Info: return Take::NotOne;
  }
  return Take::NotOne;
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
  for (std::size_t i = 0; i < m_args.size(); ++i) {
    const std::string& arg = m_args[i];
    Take taken = TakeOwnOption(&i);
    if (taken == Take::NotOne) {
      std::string error;
      switch (ParseCommonOption(m_args, &i, &m_line.common, &error)) {
        case CommonOption::Taken: taken = Take::Taken; break;
        case CommonOption::Bad: taken = Fail(error); break;
        case CommonOption::NotOne: break;
      }
    }
    if (taken == Take::NotOne && m_line.command) taken = TakeCommandOption(&i);
    if (taken == Take::Bad) break;
    if (taken == Take::Taken) continue;
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
  if (!m_plsCode) {
    if (m_plsRoot) m_error = "--pls-mode goes with --pls-code";
    return !m_plsRoot;
  }
  if (!m_plsRoot.value_or(false)) {
    if (*m_plsCode > dvb::kMaxPlsGold) {
      m_error = "--pls-code " + std::to_string(*m_plsCode) + " is no Gold code (0 to 262142)";
      return false;
    }
    m_line.tune.plsGold = *m_plsCode;
    return true;
  }
  m_line.tune.plsGold = dvb::PlsRootToGold(*m_plsCode);
  if (!m_line.tune.plsGold) m_error = "--pls-code " + std::to_string(*m_plsCode) + " is no scrambling root";
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
  const auto frequency = Integer(m_positionals[first], 1, kMaxMHz);
  if (!frequency) {
    m_error = "FREQ_MHZ must be the downlink frequency in whole MHz, e.g. 11362, not " + m_positionals[first];
    return false;
  }
  const auto symbolRate = Integer(m_positionals[first + 1], 1, kMaxMHz);
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
  if (!m_recordLimitGiven) {
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
    const auto position = Integer(m_positionals[1], 0, 255);
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
  if (!m_satGiven || !m_latGiven || !m_lonGiven) {
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

const char* CommandName(CliCommand command) {
  for (const CommandEntry& entry : kCommands)
    if (entry.command == command) return entry.name;
  return "";
}

std::string CommandUsage(CliCommand command) {
  for (const CommandEntry& entry : kCommands)
    if (entry.command == command) return std::string("usage: rx40ctl [OPTIONS] ") + entry.usage + "\n";
  return "";
}

std::string GeneralUsage() {
  std::string text = "usage: rx40ctl [OPTIONS] COMMAND [ARGUMENTS]\n\nCommands:\n";
  for (const CommandEntry& entry : kCommands) text += std::string("  ") + entry.usage + "\n";
  text +=
      "\nTune options (tune, status, record, scan, align, usals --verify): --pol H|V, --lnb-low MHZ, --lnb-high MHZ,\n"
      "  --diseqc A|B|C|D|none, --uncommitted N (a DiSEqC 1.1 switch input, 0 none), --burst A|B|none\n"
      "  (a tone-burst switch), --stream ts|gs, --isi N, --pls-code N [--pls-mode gold|root]\n"
      "  (a scrambled DVB-S2 carrier; default gold), --timeout S (the wait for lock, default 10).\n"
      "  --uncommitted and --burst default to the settings file's [Tessel] section.\n"
      "  What is not given comes from the settings file, as the window's last \"Lock TP\" left it;\n"
      "  every tune saves the transponder there, as \"Lock TP\" does.\n"
      "\nOptions:\n";
  text += CommonOptionsUsage();
  text +=
      "  --json             one JSON object per line on stdout for every reading, result and error\n"
      "  --verbose          also write the debug output (driver calls, boxes) on stderr\n"
      "  --help             this text; after a command, that command's usage\n"
      "\nExit status: 0 success, 1 the card or its driver failed, 2 bad usage.\n";
  return text;
}
