// rx40ctl's command line: what it takes, and every refusal ends with exit
// status 2, the reason naming the argument, and a usage line, before any
// card is touched.
#include <gtest/gtest.h>

#include "cli/cli_arguments.h"
#include "tests/cli/cli_run.h"

namespace {

TEST(CliArguments, TakesTheCommandsWithTheirValuesAndOptionsOnEitherSide) {
  CliParse parse = ParseCliArguments({"--json", "tune", "11362", "22000", "--pol", "v", "--lnb-low=9750",
                                      "--lnb-high", "10600", "--diseqc", "c", "--stream", "GS", "--isi", "10",
                                      "--timeout", "2.5", "--simulate"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  const CliArguments& tune = *parse.arguments;
  EXPECT_TRUE(tune.json);
  EXPECT_TRUE(tune.common.simulate);
  EXPECT_EQ(tune.command, CliCommand::Tune);
  EXPECT_EQ(tune.tune.frequencyMHz, 11362);
  EXPECT_EQ(tune.tune.symbolRateKs, 22000);
  EXPECT_EQ(tune.tune.polarity, 1);
  EXPECT_EQ(tune.tune.lnbLowMHz, 9750);
  EXPECT_EQ(tune.tune.lnbHighMHz, 10600);
  EXPECT_EQ(tune.tune.diseqcPort, 3);
  EXPECT_EQ(tune.tune.stream, OutputStream::GenericStream);
  EXPECT_EQ(tune.tune.inputStreamId, 10);
  EXPECT_EQ(tune.tune.timeoutMs, 2500u);

  parse = ParseCliArguments({"record", "/tmp/a b.ts", "--seconds", "65535", "--adapter", "1"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  EXPECT_EQ(parse.arguments->record.file, "/tmp/a b.ts");
  EXPECT_EQ(parse.arguments->record.mode, LimitMode::Time);
  EXPECT_EQ(parse.arguments->record.limit, 65535u);
  EXPECT_EQ(parse.arguments->common.adapter, 1);
  EXPECT_FALSE(parse.arguments->tune.frequencyMHz) << "the settings file fills what is not given";

  parse = ParseCliArguments({"diseqc", "0xE0", "31", "6b", "0"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  EXPECT_EQ(parse.arguments->diseqc, (std::vector<std::uint8_t>{0xE0, 0x31, 0x6B, 0x00}));

  parse = ParseCliArguments({"motor", "store", "255"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  EXPECT_EQ(parse.arguments->motor.command, PositionerCommand::StorePosition);
  EXPECT_EQ(parse.arguments->motor.position, 255);

  parse = ParseCliArguments({"usals", "--sat", "3300 Sat 30.0W", "--lat=-33.9", "--lon", "+18.4", "--dry-run"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  EXPECT_EQ(parse.arguments->usals.satellite, "3300 Sat 30.0W");
  EXPECT_DOUBLE_EQ(parse.arguments->usals.latitude, -33.9);
  EXPECT_DOUBLE_EQ(parse.arguments->usals.longitude, 18.4);
  EXPECT_TRUE(parse.arguments->usals.dryRun);

  // Switches beyond the committed one, and a scrambled carrier's code.
  parse = ParseCliArguments({"tune", "--uncommitted", "3", "--burst", "b", "--pls-code", "1024", "--pls-mode", "root"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  EXPECT_EQ(parse.arguments->tune.uncommittedPort, 3);
  EXPECT_EQ(parse.arguments->tune.burst, ToneBurstInput::B);
  EXPECT_EQ(parse.arguments->tune.plsGold, 8u) << "root 1024 is Gold code 8";
  parse = ParseCliArguments({"status", "--pls-code", "8"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  EXPECT_EQ(parse.arguments->tune.plsGold, 8u) << "gold is the default mode";
  parse = ParseCliArguments({"info", "--simulate"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  EXPECT_EQ(parse.arguments->command, CliCommand::Info);

  parse = ParseCliArguments({"status", "--help"});
  ASSERT_TRUE(parse.arguments) << parse.error;
  EXPECT_TRUE(parse.arguments->help);
}

class CliUsage : public CliRun {};

TEST_F(CliUsage, EveryRefusalIsExitTwoWithTheReasonAndAUsageLine) {
  struct Case {
    std::vector<std::string> args;
    const char* reason;
    const char* usage;  // the start of the usage line
  };
  const Case cases[] = {
      {{}, "no command given", "usage: rx40ctl [OPTIONS] COMMAND"},
      {{"survey"}, "unknown command: survey", "usage: rx40ctl [OPTIONS] COMMAND"},
      {{"tune", "--frequency", "11362"}, "tune: unknown option: --frequency", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "11362"}, "give both FREQ_MHZ and SYMBOL_RATE", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "11362", "22000", "9750"}, "unexpected argument: 9750", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "11.362", "22000"}, "FREQ_MHZ must be the downlink frequency in whole MHz", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--pol", "X"}, "--pol needs H (horizontal) or V (vertical)", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--pol"}, "--pol needs H", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--diseqc", "E"}, "--diseqc needs a switch port", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--isi", "256"}, "--isi needs an input stream identifier from 0 to 255", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--timeout", "0"}, "--timeout needs seconds from 0.1 to 3600", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--burst", "C"}, "--burst needs A or B", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--uncommitted", "17"}, "--uncommitted needs a DiSEqC 1.1 switch input from 1 to 16",
       "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--pls-code", "262143"}, "--pls-code 262143 is no Gold code", "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--pls-code", "0", "--pls-mode", "root"}, "--pls-code 0 is no scrambling root",
       "usage: rx40ctl [OPTIONS] tune"},
      {{"tune", "--pls-mode", "root"}, "--pls-mode goes with --pls-code", "usage: rx40ctl [OPTIONS] tune"},
      {{"info", "now"}, "unexpected argument: now", "usage: rx40ctl [OPTIONS] info"},
      {{"status", "--interval", "1,5"}, "--interval needs seconds", "usage: rx40ctl [OPTIONS] status"},
      {{"record", "--mb", "100"}, "give the FILE to record into", "usage: rx40ctl [OPTIONS] record"},
      {{"record", "a.ts"}, "give a limit: --mb N (50 to 800000) or --seconds N (1 to 65535)", "usage: rx40ctl [OPTIONS] record"},
      {{"record", "a.ts", "--mb", "49"}, "--mb needs a whole number from 50 to 800000", "usage: rx40ctl [OPTIONS] record"},
      {{"record", "a.ts", "--seconds", "0"}, "--seconds needs a whole number from 1 to 65535", "usage: rx40ctl [OPTIONS] record"},
      {{"record", "a.ts", "--mb", "100", "--seconds", "10"}, "give one limit: --mb or --seconds", "usage: rx40ctl [OPTIONS] record"},
      {{"diseqc", "E0"}, "give 2 to 5 message bytes", "usage: rx40ctl [OPTIONS] diseqc"},
      {{"diseqc", "E0", "31", "60", "00", "00", "00"}, "give 2 to 5 message bytes", "usage: rx40ctl [OPTIONS] diseqc"},
      {{"diseqc", "E0", "100"}, "not a byte in hexadecimal: 100", "usage: rx40ctl [OPTIONS] diseqc"},
      {{"motor"}, "give what the motor is to do", "usage: rx40ctl [OPTIONS] motor"},
      {{"motor", "north"}, "unknown motor action: north", "usage: rx40ctl [OPTIONS] motor"},
      {{"motor", "goto"}, "goto needs a position number from 0 to 255", "usage: rx40ctl [OPTIONS] motor"},
      {{"motor", "store", "-1"}, "store needs a position number from 0 to 255, not -1", "usage: rx40ctl [OPTIONS] motor"},
      {{"motor", "stop", "1"}, "unexpected argument: 1", "usage: rx40ctl [OPTIONS] motor"},
      {{"usals", "--sat", "0192", "--lat", "51.5"}, "give --sat, --lat and --lon", "usage: rx40ctl [OPTIONS] usals"},
      {{"usals", "--sat", "19.2", "--lat", "51.5", "--lon", "0"}, "--sat needs the satellite's position in tenths",
       "usage: rx40ctl [OPTIONS] usals"},
      {{"usals", "--sat", "0192", "--lat", "north", "--lon", "0"}, "--lat needs the site's latitude",
       "usage: rx40ctl [OPTIONS] usals"},
      // Out of the range USALS takes: the positioner page's own words.
      {{"usals", "--sat", "0192", "--lat", "90.1", "--lon", "0", "--dry-run"}, "usals: Longitude or Latitude error!",
       "usage: rx40ctl [OPTIONS] usals"},
      {{"usals", "--sat", "0192", "--lat", "51", "--lon", "0", "--lnb-low=9750"},
       "--lnb-low goes with --verify", "usage: rx40ctl [OPTIONS] usals"},
      {{"usals", "--sat", "0192", "--lat", "51", "--lon", "0", "--verify", "--dry-run"}, "--dry-run or --verify",
       "usage: rx40ctl [OPTIONS] usals"},
      {{"scan"}, "give the SATFILE", "usage: rx40ctl [OPTIONS] scan"},
      {{"scan", "a.ini", "b.ini"}, "unexpected argument: b.ini", "usage: rx40ctl [OPTIONS] scan"},
      {{"scan", Path("none.ini")}, "none.ini lists no transponders", "usage: rx40ctl [OPTIONS] scan"},
      {{"--simulate", "--adapter", "1", "motor", "stop"}, "--adapter and --sec-pause are for a real card",
       "usage: rx40ctl [OPTIONS] motor"},
      // Refused before the command is read: the general usage line.
      {{"--adapter", "x", "motor", "stop"}, "--adapter needs an adapter number", "usage: rx40ctl [OPTIONS] COMMAND"},
      {{"--simulate=" + Path("missing.ini"), "motor", "stop"}, "missing.ini", "usage: rx40ctl"},
  };
  for (const Case& c : cases) {
    const CliOutcome outcome = Run(c.args);
    SCOPED_TRACE(testing::PrintToString(c.args));
    EXPECT_EQ(outcome.status, kExitUsage);
    EXPECT_NE(outcome.err.find(c.reason), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.rfind("rx40ctl: ", 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find(c.usage), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.out, "");
  }
}

TEST_F(CliUsage, WithJsonARefusalIsAlsoAnErrorObjectOnStdout) {
  const CliOutcome outcome = Run({"--json", "record", "a.ts", "--mb", "49"});
  EXPECT_EQ(outcome.status, kExitUsage);
  ASSERT_EQ(outcome.json.size(), 1u) << outcome.out;
  EXPECT_EQ(outcome.json[0]["type"].toString(), "error");
  EXPECT_EQ(outcome.json[0]["command"].toString(), "record");
  EXPECT_EQ(outcome.json[0]["message"].toString(), "--mb needs a whole number from 50 to 800000");
}

TEST_F(CliUsage, HelpShowsTheCommandsOrOneCommandsUsageOnStdout) {
  CliOutcome outcome = Run({"--help"});
  EXPECT_EQ(outcome.status, kExitSuccess);
  for (const char* command : {"tune", "status", "record", "diseqc", "motor", "usals"})
    EXPECT_NE(outcome.out.find(std::string("\n  ") + command + " "), std::string::npos) << command;
  outcome = Run({"record", "--help"});
  EXPECT_EQ(outcome.status, kExitSuccess);
  EXPECT_EQ(outcome.out, CommandHelp(CliCommand::Record));
  // Every option the parser takes is in the help, made from the same declarations.
  EXPECT_EQ(outcome.out.rfind(CommandUsage(CliCommand::Record), 0), 0u);
  for (const char* option : {"--mb N", "--seconds N", "--split-mb N", "--split-seconds N", "--pol H|V", "--timeout S"})
    EXPECT_NE(outcome.out.find(std::string("\n  ") + option), std::string::npos) << option;
}

}  // namespace
