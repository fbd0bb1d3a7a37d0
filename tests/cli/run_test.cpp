// rx40ctl on the simulated card, end to end in the test's process: the same
// tuning, readings, recording and positioner commands as the window, its
// boxes as errors, its waits through the instant clock.
#include <gtest/gtest.h>

#include "platform/devices/device_notifications.h"
#include "platform/sim/sim_file.h"
#include "recording/recording_state.h"
#include "tests/cli/cli_run.h"
#include "tests/media/ts_reader.h"
#include "tests/support/file_contents.h"
#include "tests/support/sim_stream_expectation.h"

namespace {

constexpr char kUniversalLnb[] = "--lnb-low=9750";
constexpr char kHighOscillator[] = "--lnb-high=10600";

// One satellite, faced by the dish; the stream as fast as the recording
// takes it.
constexpr char kSky[] =
    "[satellite 1]\n"
    "name = Sat 23.5E\n"
    "position = 23.5\n"
    "tp = 11362 H 22000 S2 8PSK 2/3 rolloff=0.20 pilots=on\n"
    "tp = 12168 H 27500 S2 8PSK 3/5 rolloff=0.20 pilots=on isi=1,2,10\n"
    "[stream]\n"
    "paced = no\n";

class CliOnSimulatedCard : public CliRun {
 protected:
  CliOutcome Tune(std::vector<std::string> more, const std::string& card = "") {
    std::vector<std::string> args{card.empty() ? Simulate(kSky) : card, "tune"};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }
};

TEST_F(CliOnSimulatedCard, ATuneThatLocksSaysSoAndSavesTheTransponderAsLockTpDoes) {
  const CliOutcome outcome = Tune({"11362", "22000", "--pol", "H", kUniversalLnb, kHighOscillator, "--diseqc", "B"});
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  ASSERT_EQ(outcome.outLines.size(), 1u);
  EXPECT_EQ(outcome.outLines[0].rfind("LOCKED on 11362 H 22000 after 0.", 0), 0u) << outcome.out;
  const std::string settings = SettingsText();
  for (const char* line : {"polarity=0", "diseqc=2", "freq=11362", "symbol=22000", "lnblow=9750", "lnbhigh=10600"})
    EXPECT_NE(settings.find(line), std::string::npos) << line << " in\n" << settings;

  // Without values, the file's: the same carrier again.
  const CliOutcome again = Tune({"--json"});
  EXPECT_EQ(again.status, kExitSuccess) << again.err;
  ASSERT_EQ(again.OfType("tune").size(), 1u) << again.out;
  const QJsonObject tune = again.OfType("tune")[0];
  EXPECT_EQ(tune["frequency_mhz"].toInt(), 11362);
  EXPECT_EQ(tune["polarisation"].toString(), "H");
  EXPECT_EQ(tune["band"].toString(), "low");
  EXPECT_EQ(tune["diseqc"].toString(), "B");
  EXPECT_EQ(tune["stream"].toString(), "ts");
  EXPECT_TRUE(tune["locked"].toBool());
  EXPECT_GT(tune["quality"].toInt(), 10);
}

TEST_F(CliOnSimulatedCard, ATuneThatNeverLocksTimesOutThroughTheClock) {
  // Wrong LNB oscillators find nothing, as with a real LNB.
  const std::uint64_t before = m_clock->NowMs();
  const CliOutcome outcome = Tune({"11362", "22000", "--pol", "H", "--lnb-low=9000", "--lnb-high=10000", "--timeout=30"});
  EXPECT_EQ(outcome.status, kExitFailure);
  EXPECT_EQ(outcome.err, "rx40ctl: tune: no lock on 11362 H 22000 within 30.0 s\n");
  EXPECT_EQ(outcome.outLines.at(0).rfind("UNLOCKED on 11362 H 22000 after 30.", 0), 0u) << outcome.out;
  EXPECT_GE(m_clock->NowMs() - before, 30'000u) << "the whole timeout passed on the clock";
}

TEST_F(CliOnSimulatedCard, TheWindowsBoxTextsAreTheErrors) {
  struct Case {
    const char* faults;
    std::vector<std::string> command;
    std::vector<std::string> errors;
  };
  const Case cases[] = {
      {"[card]\npresent = no\n", {"tune", "11362", "22000", kUniversalLnb, kHighOscillator},
       {"rx40ctl: tune: Not found Orvane RX40 DVBS Card!"}},
      {"[driver]\ntune = negative\n", {"tune", "11362", "22000", kUniversalLnb, kHighOscillator},
       {"rx40ctl: tune: KSPROPERTY_CTRL_TUNER set channel_change false"}},
      {"[driver]\nproperty_13_set = negative\n",
       {"tune", "11362", "22000", kUniversalLnb, kHighOscillator, "--stream", "gs"},
       {"rx40ctl: tune: Get KSPROPERTY_BDA_STREAMTYPE_PARAMS error"}},
      {"[driver]\nproperty_0 = positive\n", {"motor", "stop"},
       {"rx40ctl: motor: SendDiseqCommandRX40 QueryInterface Failed",
        "rx40ctl: motor: SendDiseqCommandRX40 QueryInterface Failed"}},
      {"[driver]\nproperty_0 = positive\n", {"diseqc", "E0", "31", "60"}, {"rx40ctl: diseqc: OnMotor11 false"}},
      {"[driver]\nproperty_0 = unsupported\n", {"diseqc", "E0", "31", "60"},
       {"rx40ctl: diseqc: OnMotor22 false", "rx40ctl: diseqc: KSPROPERTY_CTRL_TUNER false"}},
      {"[faults]\ntuner_input_pin = missing\n", {"usals", "--sat", "0090", "--lat", "50", "--lon", "8"},
       {"rx40ctl: usals: nothing sent: the tuner offers no driver property set"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{Simulate(std::string(kSky) + c.faults), "--json"};
    args.insert(args.end(), c.command.begin(), c.command.end());
    const CliOutcome outcome = Run(args);
    SCOPED_TRACE(c.faults);
    EXPECT_EQ(outcome.status, kExitFailure);
    std::string expected;
    for (const std::string& error : c.errors) expected += error + "\n";
    EXPECT_EQ(outcome.err, expected);
    const auto errors = outcome.OfType("error");
    ASSERT_EQ(errors.size(), c.errors.size()) << outcome.out;
    EXPECT_EQ("rx40ctl: " + errors[0]["command"].toString().toStdString() + ": " +
                  errors[0]["message"].toString().toStdString(),
              c.errors[0]);
    EXPECT_EQ(outcome.notJson, 0) << outcome.out;
  }
}

TEST_F(CliOnSimulatedCard, StatusWithJsonGivesParsableReadingsOfTheSelectedInputStream) {
  StopRequest& stop = m_stop;
  StopAfterLines out(stop, 4);  // the tune, then three readings
  const CliOutcome outcome = Run({Simulate(kSky), "--json", "status", "12168", "27500", "--pol", "H", kUniversalLnb,
                                  kHighOscillator, "--isi", "10", "--watch", "--interval", "2"},
                                 &out);
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  EXPECT_EQ(outcome.notJson, 0) << outcome.out;
  ASSERT_EQ(outcome.OfType("tune").size(), 1u);
  EXPECT_EQ(outcome.OfType("tune")[0]["isi"].toInt(), 10);
  EXPECT_EQ(outcome.OfType("tune")[0]["band"].toString(), "high");
  const auto readings = outcome.OfType("status");
  ASSERT_EQ(readings.size(), 3u) << "SIGINT ends --watch after the reading it interrupts";
  for (std::size_t i = 0; i < readings.size(); ++i) {
    const QJsonObject& reading = readings[i];
    EXPECT_TRUE(reading["locked"].toBool());
    EXPECT_DOUBLE_EQ(reading["elapsed_s"].toDouble(), 2.0 * static_cast<double>(i)) << "one reading per interval";
    const QJsonObject media = reading["media"].toObject();
    EXPECT_EQ(media["system"].toString(), "DVB-S2");
    EXPECT_EQ(media["fec"].toString(), "3/5");
    EXPECT_EQ(media["input_stream"].toString(), "MULTIPLE_INPUT_STREAM");
    EXPECT_EQ(media["input_stream_id"].toInt(), 10);
    EXPECT_EQ(media["matype"].toString(), "D2  0A");
    EXPECT_FALSE(media["matype_derived"].toBool());
    EXPECT_TRUE(reading.contains("dish")) << "the simulated card reports its dish";
  }
}

TEST_F(CliOnSimulatedCard, RecordMbMakesAFileOfExactlyWhatTheCardSentAndSummarisesIt) {
  const std::string path = Path("take.ts");
  const CliOutcome outcome =
      Run({Simulate(kSky), "--json", "record", path, "--mb", "50", "11362", "22000", kUniversalLnb, kHighOscillator});
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(outcome.notJson, 0) << outcome.out;
  const std::vector<std::uint8_t> recorded = FileBytes(path);
  ASSERT_GE(recorded.size(), 50u * 1024 * 1024) << "the page's rule: stop at the first tick at 100%";
  ASSERT_EQ(recorded.size() % kSimSampleBytes, 0u) << "whole samples of whole packets";

  EXPECT_TRUE(IsWhatTheCardSent(kSky, recorded));

  ASSERT_EQ(outcome.OfType("record").size(), 1u) << outcome.out;
  const QJsonObject summary = outcome.OfType("record")[0];
  EXPECT_EQ(summary["file"].toString().toStdString(), path);
  EXPECT_EQ(summary["bytes"].toInteger(), static_cast<qint64>(recorded.size()));
  EXPECT_EQ(summary["packets"].toInteger(), static_cast<qint64>(recorded.size() / 188));
  EXPECT_EQ(summary["continuity_errors"].toInt(), 0);
  EXPECT_EQ(summary["sync_losses"].toInt(), 0);
  EXPECT_EQ(summary["stopped"].toString(), "limit");
  EXPECT_FALSE(outcome.OfType("progress").empty()) << "a progress reading every second of the record timer";
}

// Parts laid end to end are the unsplit recording, byte for byte.
TEST_F(CliOnSimulatedCard, ASplitRecordingsPartsConcatenateToTheStream) {
  const std::string path = Path("split.ts");
  const CliOutcome outcome = Run({Simulate(kSky), "--json", "record", path, "--mb", "50", "--split-mb", "7", "11362",
                                  "22000", kUniversalLnb, kHighOscillator});
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  EXPECT_FALSE(std::filesystem::exists(path)) << "only the parts are written";
  std::vector<std::uint8_t> joined;
  std::uint32_t parts = 0;
  EXPECT_EQ(SplitPartPath(path, 12), Path("split-0012.ts"));
  while (std::filesystem::exists(SplitPartPath(path, parts + 1))) {
    ++parts;
    const std::vector<std::uint8_t> part = FileBytes(SplitPartPath(path, parts));
    EXPECT_LE(part.size(), 7u * 1024 * 1024) << "part " << parts;
    EXPECT_EQ(part.size() % 188, 0u) << "part " << parts << " starts and ends at a packet boundary";
    joined.insert(joined.end(), part.begin(), part.end());
  }
  EXPECT_GE(parts, 8u) << "at least 50 MB in parts of at most 7 MB";
  EXPECT_TRUE(IsWhatTheCardSent(kSky, joined)) << "the parts laid end to end";
  ASSERT_EQ(outcome.OfType("record").size(), 1u) << outcome.out;
  EXPECT_EQ(outcome.OfType("record")[0]["parts"].toInt(), static_cast<int>(parts));
  EXPECT_EQ(outcome.OfType("record")[0]["bytes"].toInteger(), static_cast<qint64>(joined.size()));
}

// A generic stream asked of a DVB-S carrier gives nothing: the recording
// says so while it runs and fails at its end.
TEST_F(CliOnSimulatedCard, ARecordingThatReceivesNothingSaysSoAndFails) {
  const std::string sky = "[satellite 1]\nname = Sat 23.5E\nposition = 23.5\ntp = 11362 H 22000 S QPSK 3/4\n";
  const CliOutcome outcome = Run({Simulate(sky), "--json", "record", Path("empty.ts"), "--seconds", "5", "11362",
                                  "22000", kUniversalLnb, kHighOscillator, "--stream", "gs"});
  EXPECT_EQ(outcome.status, kExitFailure) << outcome.out;
  EXPECT_NE(outcome.err.find("rx40ctl: record: no data came from the card: nothing was recorded"), std::string::npos)
      << outcome.err;
  const auto progress = outcome.OfType("progress");
  ASSERT_FALSE(progress.empty());
  EXPECT_GE(progress.back()["no_data_s"].toInt(), 3) << "said once 3 s passed without data";
}

TEST_F(CliOnSimulatedCard, RecordCountsTheStreamsContinuityErrorsInItsSummary) {
  const CliOutcome outcome = Run({Simulate(std::string(kSky) + "continuity_error_every = 5000\n"), "record",
                                  Path("faulty.ts"), "--mb", "50", "11362", "22000", kUniversalLnb, kHighOscillator});
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  const std::vector<std::uint8_t> recorded = FileBytes(Path("faulty.ts"));
  const TsReport report = ReadTs(recorded);
  ASSERT_GT(report.continuityErrors, 0u);
  const std::uint64_t packets = recorded.size() / 188;
  const std::string errors = "   CC errors: " + std::to_string(report.continuityErrors) + "   Sync losses: 0";
  EXPECT_NE(outcome.out.find(errors), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("(limit reached)\nPackets: " + std::to_string(packets) + "   Bytes: "), std::string::npos)
      << outcome.out;
}

TEST_F(CliOnSimulatedCard, RecordRefusesWithoutLockAndReportsAFileItCannotMake) {
  CliOutcome outcome = Run({Simulate(kSky), "record", Path("none.ts"), "--seconds", "5", "10000", "22000",
                            kUniversalLnb, kHighOscillator, "--timeout", "1"});
  EXPECT_EQ(outcome.status, kExitFailure);
  EXPECT_EQ(outcome.err, "rx40ctl: record: Signal is not locked! Please check signal first.\n");
  EXPECT_FALSE(std::filesystem::exists(Path("none.ts"))) << "nothing is created";

  outcome = Run({Simulate(kSky), "record", Path("no/such/folder.ts"), "--seconds", "5", "11362", "22000",
                 kUniversalLnb, kHighOscillator});
  EXPECT_EQ(outcome.status, kExitFailure);
  EXPECT_NE(outcome.err.find("Cannot create the record file \"" + Path("no/such/folder.ts") +
                             "\": No such file or directory"),
            std::string::npos)
      << outcome.err;
}

TEST_F(CliOnSimulatedCard, AFullDiskStopsTheRecordingKeepingTheBytesBeforeIt) {
  const CliOutcome outcome = Run({Simulate(std::string(kSky) + "write_fails_after_bytes = 1000000\n"), "record",
                                  Path("full.ts"), "--mb", "50", "11362", "22000", kUniversalLnb,
                                  kHighOscillator});
  EXPECT_EQ(outcome.status, kExitFailure);
  // 1000000 bytes fit; the file keeps their whole packets, and the summary
  // counts what the file holds.
  EXPECT_NE(outcome.err.find("No space left on device. The recording was stopped; the 999972 bytes written before "
                             "it are kept in the file."),
            std::string::npos)
      << outcome.err;
  EXPECT_NE(outcome.out.find("(write error)"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("Packets: 5319   Bytes: 999972"), std::string::npos) << outcome.out;
  EXPECT_EQ(FileBytes(Path("full.ts")).size(), 999'972u);
}

TEST_F(CliOnSimulatedCard, APulledCardEndsTheRecordingWithEveryByteReceived) {
  // Pulled when the first progress reading goes out.
  struct PullOnProgress : std::stringbuf {
    int sync() override {
      if (!pulled && str().find("\"progress\"") != std::string::npos) {
        pulled = true;
        devices::PublishDeviceChange(devices::DBT_DEVICEREMOVECOMPLETE);
      }
      return 0;
    }
    bool pulled = false;
  } out;
  const CliOutcome outcome = Run({Simulate(kSky), "--json", "record",
                                  Path("pulled.ts"), "--seconds", "600", "11362", "22000", kUniversalLnb,
                                  kHighOscillator},
                                 &out);
  EXPECT_EQ(outcome.status, kExitFailure);
  EXPECT_NE(outcome.err.find("stopped: a device was removed"), std::string::npos) << outcome.err;
  ASSERT_EQ(outcome.OfType("record").size(), 1u) << outcome.out;
  EXPECT_EQ(outcome.OfType("record")[0]["stopped"].toString(), "removed");
  EXPECT_EQ(outcome.OfType("record")[0]["bytes"].toInteger(),
            static_cast<qint64>(FileBytes(Path("pulled.ts")).size()));
  EXPECT_LT(outcome.OfType("record")[0]["duration_s"].toDouble(), 600.0);
}

// A real motor keeps its dish where the last run left it; so does the
// simulated card, in the data folder.
TEST_F(CliOnSimulatedCard, TheDishStaysWhereTheLastRunLeftIt) {
  const std::string card = Simulate(kSky);
  CliOutcome outcome = Run({card, "usals", "--sat", "0090", "--lat", "50", "--lon", "8"});
  ASSERT_EQ(outcome.status, kExitSuccess) << outcome.err;
  Run({card, "motor", "store", "4"});
  outcome = Run({card, "--json", "status", "11362", "22000", kUniversalLnb, kHighOscillator, "--timeout", "1"});
  ASSERT_FALSE(outcome.OfType("status").empty()) << outcome.out;
  EXPECT_DOUBLE_EQ(outcome.OfType("status")[0]["dish"].toObject()["angle_deg"].toDouble(), -1.0)
      << "the goto of the run before (E0 31 6E E0 10), not the card's start";
  EXPECT_NE(FileText(Path("simulated-dish.txt")).find("position 4 = -1.0"), std::string::npos)
      << FileText(Path("simulated-dish.txt"));
}

TEST_F(CliOnSimulatedCard, PositionerCommandsGoOnTheBusAsThePagesButtonsSendThem) {
  const std::string trace = Path("trace.txt");
  const std::string card = Simulate(std::string(kSky) + "[card]\ntrace = " + trace + "\n");
  CliOutcome outcome = Run({card, "motor", "goto", "300"});
  EXPECT_EQ(outcome.status, kExitUsage) << "300 is no stored position";
  outcome = Run({card, "motor", "step-west"});
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  EXPECT_EQ(outcome.outLines.at(0).rfind("sent E1 31 69 FF, E0 31 69 FF | Dish ", 0), 0u) << outcome.out;
  const std::string calls = FileText(trace);
  const std::size_t repeat = calls.find("Set 0 E1 31 69 FF 00 00 00 00 00 00 04\n");
  ASSERT_NE(repeat, std::string::npos) << calls;
  EXPECT_NE(calls.find("Set 0 E0 31 69 FF 00 00 00 00 00 00 04\n", repeat), std::string::npos) << "then " << calls;

  outcome = Run({card, "diseqc", "e0", "31", "6b", "00"});
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  EXPECT_EQ(outcome.out, "sent E0 31 6B 00\n");
  const std::string last = FileText(trace);
  EXPECT_NE(last.find("Set 0 E0 31 6B 00 00 00 00 00 00 00 04"), std::string::npos) << "zeros go as given: " << last;
}

TEST_F(CliOnSimulatedCard, UsalsDryRunComputesWithoutACardAndGoSendsTheAngularGotoOnce) {
  const struct {
    const char* sat;
    const char* lon;
    const char* lat;
    const char* line;
  } worked[] = {
      // With the installer's look angles beside the motor's.
      {"0130", "-0.1", "51.5",
       "Angle -14.324\u00B0: E1 31 6E E0 E5 (dry run, not sent) | Elevation 29.8\u00B0, azimuth 163.4\u00B0 (true), "
       "LNB skew +10.3\u00B0 (counter-clockwise seen from behind)"},
      {"3300", "-0.1", "51.5",
       "Angle 32.546\u00B0: E1 31 6E D2 08 (dry run, not sent) | Elevation 24.8\u00B0, azimuth 216.3\u00B0 (true), "
       "LNB skew -21.8\u00B0 (clockwise seen from behind)"},
      {"1005", "77.0", "28.6", "Angle -26.857\u00B0: E1 31 6E E1 AD (dry run, not sent) | Elevation 47.8\u00B0"},
      {"1770", "-175.0", "40.0", "Angle 8.989\u00B0: E1 31 6E D0 8E (dry run, not sent) | Elevation 43.0\u00B0"},
  };
  for (const auto& w : worked) {
    const CliOutcome outcome = Run({"usals", "--sat", w.sat, "--lon", w.lon, "--lat", w.lat, "--dry-run"});
    EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
    EXPECT_EQ(outcome.out.rfind(w.line, 0), 0u) << outcome.out;
  }
  CliOutcome outcome = Run({"usals", "--sat", "0130", "--lon", "100", "--lat", "50", "--dry-run"});
  EXPECT_EQ(outcome.status, kExitFailure);
  EXPECT_EQ(outcome.err,
            "rx40ctl: usals: Can not reach this satellite from your location! (Nothing sent: 87.0\u00B0 apart in "
            "longitude (65\u00B0 at most))\n");
  // McMurdo Station to 105.5E: nothing is sent below the horizon.
  outcome = Run({"usals", "--sat", "1055", "--lat", "-77.85", "--lon", "166.67", "--dry-run"});
  EXPECT_EQ(outcome.status, kExitFailure);
  EXPECT_EQ(outcome.err, "rx40ctl: usals: The satellite is below your horizon (elevation -2.9\u00B0).\n");
  EXPECT_EQ(outcome.out, "");

  const std::string trace = Path("usals-trace.txt");
  outcome = Run({Simulate(std::string(kSky) + "[card]\ntrace = " + trace + "\n"), "--json", "usals", "--sat", "0090",
                 "--lat", "50", "--lon", "8"});
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  ASSERT_EQ(outcome.OfType("usals").size(), 1u) << outcome.out;
  const QJsonObject usals = outcome.OfType("usals")[0];
  EXPECT_TRUE(usals["sent"].toBool());
  const std::string message = usals["message"].toString().toStdString();
  const std::string calls = FileText(trace);
  EXPECT_NE(calls.find("Set 0 " + message + " 00 00 00 00 00 05"), std::string::npos) << calls;
  EXPECT_EQ(calls.find("Set 0 E0 31 6E"), std::string::npos) << "the angular goto is not repeated";
}

// Two satellites; the dish faces the first. The Transponders folder lists
// 9.0E's carrier as its reference.
constexpr char kTwoSatellites[] =
    "[satellite 1]\nname = Sat 23.5E\nposition = 23.5\ntp = 11362 H 22000 S2 8PSK 2/3\n"
    "[satellite 2]\nname = Sat 9.0E\nposition = 9.0\ntp = 11976 V 27500 S QPSK 2/3\ntp = 12322 H 27500 S2 8PSK 3/5\n";

class CliVerifiedMove : public CliOnSimulatedCard {
 protected:
  CliVerifiedMove() {
    std::filesystem::create_directories(m_folder / "Transponders");
    std::ofstream((m_folder / "Transponders" / "0090.ini").string())
        << "[SATTYPE]\n1=0090\n2=Sat 9.0E\n[TRANSPONDERS]\n1=11976,V,27500,DVB-S\n2=12322,H,27500,DVB-S2\n"
           "3=12000,H,27500,DVB-S\n";
    std::ofstream((m_folder / "Transponders" / "0235.ini").string()) << "[SATTYPE]\n1=0235\n2=Sat 23.5E\n";
  }
  CliOutcome Verify(const std::string& sat, const std::string& motor = "") {
    return Run({Simulate(std::string(kTwoSatellites) + motor), "--json", "usals", "--sat", sat, "--lat", "50", "--lon",
                "8", "--verify", kUniversalLnb, kHighOscillator});
  }
};

// The simulated motor turns at its speed through the clock: the reference
// locks only once the dish is there.
TEST_F(CliVerifiedMove, AMoveArrivesWhenTheReferenceTransponderLocksAfterTheTravelTime) {
  const CliOutcome outcome = Verify("0090");
  ASSERT_EQ(outcome.status, kExitSuccess) << outcome.err << outcome.out;
  ASSERT_EQ(outcome.OfType("verify").size(), 1u) << outcome.out;
  const QJsonObject verify = outcome.OfType("verify")[0];
  EXPECT_TRUE(verify["verified"].toBool());
  EXPECT_EQ(verify["frequency_mhz"].toInt(), 11976);
  EXPECT_EQ(verify["satellite"].toString(), "0090  Sat 9.0E");
  // From the motor angle of 23.5E (about -17.6) to that of 9.0E (about -1.2) at 1.5 degrees a second.
  EXPECT_EQ(verify["travel_s"].toInt(), 12);
  EXPECT_FALSE(verify["dish"].toObject()["moving"].toBool());
  EXPECT_EQ(SettingsText().find("11976"), std::string::npos) << "a check is not the operator's tune: nothing saved";

  const CliOutcome text = Run({Simulate(kTwoSatellites), "usals", "--sat", "0090", "--lat", "50", "--lon", "8",
                               "--verify", kUniversalLnb, kHighOscillator});
  EXPECT_EQ(text.status, kExitSuccess) << text.err;
  EXPECT_EQ(text.outLines.back().rfind("Arrived: LOCKED on 11 976 V 27 500 (quality ", 0), 0u) << text.out;
}

TEST_F(CliVerifiedMove, AMoveThatStallsOrCannotBeCheckedIsNotVerified) {
  CliOutcome outcome = Verify("0090", "[motor]\nstall_after = 5\n");
  EXPECT_EQ(outcome.status, kExitFailure) << outcome.out;
  ASSERT_EQ(outcome.OfType("verify").size(), 1u) << outcome.out;
  EXPECT_FALSE(outcome.OfType("verify")[0]["verified"].toBool());
  EXPECT_DOUBLE_EQ(outcome.OfType("verify")[0]["dish"].toObject()["angle_deg"].toDouble(), -12.0)
      << "stalled 5 degrees on from where it stood";
  EXPECT_NE(outcome.err.find("rx40ctl: usals: the move is not verified"), std::string::npos) << outcome.err;
  std::filesystem::remove(Path("simulated-dish.txt"));
  outcome = Run({Simulate(std::string(kTwoSatellites) + "[motor]\nstall_after = 5\n"), "usals", "--sat", "0090",
                 "--lat", "50", "--lon", "8", "--verify", kUniversalLnb, kHighOscillator});
  EXPECT_NE(outcome.out.find("No lock on the reference transponder of 0090  Sat 9.0E after the move"),
            std::string::npos) << outcome.out;

  outcome = Verify("0235");
  EXPECT_EQ(outcome.status, kExitFailure);
  EXPECT_NE(outcome.err.find("0235  Sat 23.5E: no transponder list, arrival not checked"), std::string::npos)
      << outcome.err;
  EXPECT_TRUE(outcome.OfType("usals").empty()) << "refused before the dish turns: " << outcome.out;

  outcome = Run({Simulate(kTwoSatellites), "usals", "--sat", "0090", "--lat", "50", "--lon", "8", "--verify"});
  EXPECT_EQ(outcome.status, kExitUsage) << "no LNB to tune the reference with";
  EXPECT_EQ(outcome.out, "") << "nothing sent";
}

TEST_F(CliVerifiedMove, AScanTunesEveryListedTransponderAndTabulatesWhatLocked) {
  const std::string card = Simulate(std::string(kTwoSatellites) + "[dish]\nsatellite = 2\n");
  const std::string file = (m_folder / "Transponders" / "0090.ini").string();
  CliOutcome outcome = Run({card, "scan", file, kUniversalLnb, kHighOscillator, "--timeout", "3"});
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  ASSERT_EQ(outcome.outLines.size(), 5u) << outcome.out;
  EXPECT_EQ(outcome.outLines[0].rfind("TRANSPONDER", 0), 0u);
  EXPECT_EQ(outcome.outLines[1].rfind("11 976 V 27 500  DVB-S   LOCKED", 0), 0u) << outcome.outLines[1];
  EXPECT_NE(outcome.outLines[1].find("DVB-S1 QPSK 2/3"), std::string::npos) << outcome.outLines[1];
  EXPECT_NE(outcome.outLines[2].find("DVB-S2 8PSK 3/5"), std::string::npos) << outcome.outLines[2];
  EXPECT_EQ(outcome.outLines[3].rfind("12 000 H 27 500  DVB-S   UNLOCKED", 0), 0u) << "no such carrier";
  EXPECT_EQ(outcome.outLines[4], "2 of 3 locked");

  outcome = Run({card, "--json", "scan", file, kUniversalLnb, kHighOscillator, "--timeout", "3"});
  ASSERT_EQ(outcome.OfType("scan").size(), 3u) << outcome.out;
  EXPECT_EQ(outcome.notJson, 0);
  EXPECT_TRUE(outcome.OfType("scan")[1]["locked"].toBool());
  EXPECT_EQ(outcome.OfType("scan_summary")[0]["locked"].toInt(), 2);

  std::filesystem::remove(Path("simulated-dish.txt"));  // back to the card's [dish]
  outcome = Run({Simulate(kTwoSatellites), "scan", (m_folder / "Transponders" / "0090.ini").string(), kUniversalLnb,
                 kHighOscillator, "--timeout", "1"});
  EXPECT_EQ(outcome.status, kExitFailure) << "the dish faces 23.5E: nothing of 9.0E locks";
  EXPECT_NE(outcome.err.find("no transponder of"), std::string::npos) << outcome.err;
}

// align off a terminal: one reading a line, the first locked reading the
// peak, and the peak again when Ctrl-C ends it.
TEST_F(CliOnSimulatedCard, AlignReadsUntilStoppedAndEndsWithThePeak) {
  StopAfterLines out(m_stop, 4);  // the tune and three readings
  const CliOutcome outcome =
      Run({Simulate(kSky), "--json", "align", "11362", "22000", kUniversalLnb, kHighOscillator, "--interval", "0.5"}, &out);
  EXPECT_EQ(outcome.status, kExitSuccess) << outcome.err;
  const std::vector<QJsonObject> readings = outcome.OfType("align");
  ASSERT_GE(readings.size(), 3u) << outcome.out;
  EXPECT_TRUE(readings[0]["new_peak"].toBool());
  EXPECT_FALSE(readings[1]["new_peak"].toBool()) << "an equal quality keeps the first peak";
  EXPECT_EQ(readings[1]["peak"].toObject()["quality"].toInt(), readings[0]["quality"].toInt());
  ASSERT_EQ(outcome.OfType("align_peak").size(), 1u) << outcome.out;
  EXPECT_EQ(outcome.OfType("align_peak")[0]["quality"].toInt(), readings[0]["quality"].toInt());
}

TEST_F(CliOnSimulatedCard, AlignOffATerminalWritesTheBarLineForEachReading) {
  StopAfterLines text(m_stop, 3);
  const CliOutcome plain = Run({Simulate(kSky), "align", "11362", "22000", kUniversalLnb, kHighOscillator}, &text);
  ASSERT_GE(plain.outLines.size(), 3u) << plain.out;
  EXPECT_EQ(plain.outLines[1].rfind("[##################--] Q 90% S 94% margin 11.4 dB LOCKED | peak Q 90% at ", 0), 0u)
      << plain.outLines[1];
  EXPECT_EQ(plain.outLines.back().rfind("peak Q 90% at ", 0), 0u) << plain.out;
}

}  // namespace

