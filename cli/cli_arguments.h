// rx40ctl's command line: the options of every program of the tool (the
// card and the program folder), its own (--json, --verbose, --help), one
// command and that command's arguments. Options may stand before or after
// the command. Pure: nothing is checked against the card or a file here;
// numbers are whole and within their ranges, or the line is refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "cli/monitor/listen_address.h"
#include "positioner/positioner_commands.h"
#include "recording/record_limit.h"
#include "settings/tool_settings.h"

enum class CliCommand { Tune, Status, Record, Diseqc, Motor, Usals, Info, Scan, Align, Monitor };

enum class OutputStream { TransportStream, GenericStream };

// What to tune; whatever is not given comes from the settings file.
struct TuneArguments {
  std::optional<std::int32_t> frequencyMHz;
  std::optional<std::int32_t> symbolRateKs;
  std::optional<std::int32_t> lnbLowMHz;
  std::optional<std::int32_t> lnbHighMHz;
  std::optional<int> polarity;    // 0 horizontal, 1 vertical
  std::optional<int> diseqcPort;  // 0 none, 1..4 ports A..D
  std::optional<OutputStream> stream;  // none: what the card delivers now
  std::optional<int> inputStreamId;    // 0..255
  std::uint32_t timeoutMs = 10'000;    // the wait for lock
  // Over the settings file's [Tessel] section:
  std::optional<ToneBurstInput> burst;   // a tone-burst switch's input
  std::optional<int> uncommittedPort;    // a DiSEqC 1.1 switch's input 1..16, 0 none
  std::optional<std::uint32_t> plsGold;  // --pls-code in --pls-mode, as a Gold code
};

struct StatusArguments {
  bool watch = false;
  std::uint32_t intervalMs = 1000;
};

struct RecordArguments {
  std::string file;  // "-": standard output
  LimitMode mode = LimitMode::FileSize;
  std::uint32_t limit = 0;  // MB or seconds, within the Capture Control page's range
  std::optional<std::uint32_t> splitMb;       // parts of at most this many MB
  std::optional<std::uint32_t> splitSeconds;  // parts of at most this many seconds
};

struct MotorArguments {
  PositionerCommand command = PositionerCommand::Stop;
  std::uint8_t position = 0;  // goto and store
};

struct UsalsArguments {
  std::string satellite;  // as a satellite list entry starts: four digits
  double latitude = 0;
  double longitude = 0;
  bool dryRun = false;
  // After the goto: wait the motor's travel, then tune the satellite's
  // reference transponder (with the tune options) and say whether it locks.
  bool verify = false;
};

struct ScanArguments {
  std::string satelliteFile;  // a satellite file with a [TRANSPONDERS] section
};

struct MonitorArguments {
  ListenAddress listen;  // required
  bool listenAny = false;  // a wildcard address may be bound
  std::string recordFile;  // also record, while the card is there
  std::optional<std::uint32_t> splitMb;
  std::optional<std::uint32_t> splitSeconds;
};

struct AlignArguments {
  std::uint32_t intervalMs = 250;
};

struct CliArguments {
  CommandLine common;  // --simulate[=FILE], --adapter, --sec-pause, --data-dir
  bool json = false;
  bool verbose = false;
  bool help = false;  // with a command: that command's usage
  std::optional<CliCommand> command;
  TuneArguments tune;  // tune, status and record
  StatusArguments status;
  RecordArguments record;
  std::vector<std::uint8_t> diseqc;
  MotorArguments motor;
  UsalsArguments usals;
  ScanArguments scan;
  AlignArguments align;
  MonitorArguments monitor;
};

struct CliParse {
  std::optional<CliArguments> arguments;  // none: refused
  std::string error;                      // why, naming the argument
  std::optional<CliCommand> command;      // the command named, if any, for its usage
  bool json = false;                      // --json was given (the error then goes out as JSON too)
};

CliParse ParseCliArguments(const std::vector<std::string>& args);

const char* CommandName(CliCommand command);
// The usage texts, made from the options' declarations: the whole usage
// (--help), one command's usage line (after a refusal), and that line with
// the command's options and their help (COMMAND --help).
std::string GeneralUsage();
std::string CommandUsage(CliCommand command);
std::string CommandHelp(CliCommand command);
