// Recording through the Capture Control page from the simulated card, end
// to end: the Tuner Setting page builds the graph and locks a carrier, the
// page records it, and the file is exactly what the card sent, decodes in a
// real decoder, and the health line agrees with it. Faults of the card's
// FILE show on the page.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QtTest/QTest>
#include <fstream>

#include "recording/capture_control_dlg.h"
#include "recording/recording_state.h"
#include "resources/resource_ids.h"
#include "tests/media/ts_reader.h"
#include "tests/support/ffmpeg.h"
#include "tests/support/file_contents.h"
#include "tests/support/hosted_page.h"
#include "tests/support/manual_timers.h"
#include "tests/support/sim_stream_expectation.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
#include "tests/support/ui_test_helpers.h"
#include "tuner/bdacontrol_dlg.h"

namespace {

class CaptureOnSimulatedCard : public testing::Test {
 protected:
  explicit CaptureOnSimulatedCard(const std::string& extra = "") : platform(SimConfigFrom(kOneCarrierSky + extra)) {}

  void SetUp() override {
    tuner.emplace();
    EnterCarrier(**tuner, "11362", "22000");
    (*tuner)->OnOK();
    platform.Clock().SleepMs(400);
    stream = platform.Card().Driver()->DescribeStream();
    ASSERT_TRUE(stream.locked);
    SignalLockedFlag() = 1;  // as the monitor would, a cycle later
    capture.emplace();
    path = platform.Folder() + "/take.ts";
    (*capture)->SetDlgItemText(IDC_RECORD_PATH, path);
  }
  void TearDown() override {
    SignalLockedFlag() = 0;
    capture.reset();
    tuner.reset();
  }

  void Click(int id) {
    QTest::mouseClick(qobject_cast<QAbstractButton*>((*capture)->GetDlgItem(id)), Qt::LeftButton);
  }
  // Starts, lets the card deliver at least bytes, ticks once, cancels.
  void Record(std::uint64_t bytes) {
    Click(IDC_START_RECORD);
    ASSERT_TRUE((*capture)->IsRecording());
    ASSERT_TRUE(WaitUntil([&] { return RecordedBytes() >= bytes; }));
    timers.FireArmed();
    if ((*capture)->IsRecording()) Click(IDC_CANCEL_RECORD);
  }

  SimulatedPlatform platform;
  ManualTimers timers;
  sim::StreamDescription stream;
  std::optional<HostedPage<CBdacontrolDlg>> tuner;
  std::optional<HostedPage<CUtiVirtualDamonDlg>> capture;
  std::string path;
};

TEST_F(CaptureOnSimulatedCard, TheFileIsWhatTheCardSentAndPlays) {
  Record(2'000'000);
  EXPECT_EQ((*capture)->GetDlgItemText(IDC_RECORD_STATUS), "Record Stopped!");
  EXPECT_TRUE(platform.Boxes().Texts().empty());
  const std::vector<std::uint8_t> recorded = FileBytes(path);
  ASSERT_GE(recorded.size(), 2'000'000u);
  ASSERT_EQ(recorded.size() % kSimSampleBytes, 0u) << "whole samples of whole packets";

  // The card's generator from its start: its rate and programme were taken
  // before the first packet.
  const std::vector<std::uint8_t> sent =
      SimulatedStreamBytes(platform.Card().Driver()->GetSky(), stream, recorded.size());
  EXPECT_TRUE(sent == recorded) << "the recording differs from what the card sent";

  const std::uint64_t packets = recorded.size() / 188;
  EXPECT_EQ((*capture)->GetDlgItemText(IDC_RECORD_HEALTH),
            "Packets: " + std::to_string(packets) + "   Bytes: " + std::to_string(recorded.size()) +
                "   CC errors: 0   Sync losses: 0   Overflows: 0");
  if (!kHaveFfmpeg) GTEST_SKIP() << "ffmpeg is not installed (scripts/setup.sh installs it): decoding not checked";
  EXPECT_EQ(DecodeErrors(path), std::string());
}

class CaptureWithContinuityFaults : public CaptureOnSimulatedCard {
 protected:
  CaptureWithContinuityFaults() : CaptureOnSimulatedCard("[stream]\ncontinuity_error_every = 5000\n") {}
};

TEST_F(CaptureWithContinuityFaults, TheHealthLineCountsTheErrorsTheFileHolds) {
  Record(6'000'000);
  const std::vector<std::uint8_t> recorded = FileBytes(path);
  const TsReport report = ReadTs(recorded);
  ASSERT_GT(report.continuityErrors, 0u);
  EXPECT_NE((*capture)->GetDlgItemText(IDC_RECORD_HEALTH).find("CC errors: " + std::to_string(report.continuityErrors) + "   "),
            std::string::npos)
      << (*capture)->GetDlgItemText(IDC_RECORD_HEALTH);
}

class CaptureOnAFullDisk : public CaptureOnSimulatedCard {
 protected:
  CaptureOnAFullDisk() : CaptureOnSimulatedCard("[stream]\nwrite_fails_after_bytes = 1000000\n") {}
};

TEST_F(CaptureOnAFullDisk, TheFailureIsReportedOnceAndTheBytesBeforeItKept) {
  Click(IDC_START_RECORD);
  ASSERT_TRUE(WaitUntil([&] { return RecordingWriteError().has_value(); }));
  timers.FireArmed();
  EXPECT_FALSE((*capture)->IsRecording());
  EXPECT_EQ((*capture)->GetDlgItemText(IDC_RECORD_STATUS), "Write error: No space left on device");
  ASSERT_EQ(platform.Boxes().Texts().size(), 1u);
  // 1000000 bytes fit; the file keeps the whole packets of them.
  EXPECT_NE(platform.Boxes().Texts()[0].find("999972 bytes"), std::string::npos) << platform.Boxes().Texts()[0];
  EXPECT_EQ(timers.FireArmed(), 0);
  EXPECT_EQ(FileBytes(path).size(), 999'972u);
}

// A card that delivers nothing (here an empty replay; on the air a generic
// stream asked of a DVB-S carrier): after 3 s the page says so.
class CaptureOfNothing : public CaptureOnSimulatedCard {
 protected:
  CaptureOfNothing() : CaptureOnSimulatedCard("[stream]\nreplay = " + EmptyReplay() + "\n") {}
  static std::string EmptyReplay() {
    const std::string file = testing::TempDir() + "/rx40-empty-replay.ts";
    std::ofstream{file, std::ios::binary};
    return file;
  }
};

TEST_F(CaptureOfNothing, TheStatusAndHealthLinesSayNoDataCameAfterThreeSeconds) {
  Click(IDC_START_RECORD);
  ASSERT_TRUE((*capture)->IsRecording());
  platform.Clock().SleepMs(2'000);
  timers.FireArmed();
  EXPECT_EQ((*capture)->GetDlgItemText(IDC_RECORD_STATUS), "Recording... 0%") << "2 s is not yet a silence";
  platform.Clock().SleepMs(1'500);
  timers.FireArmed();
  EXPECT_EQ((*capture)->GetDlgItemText(IDC_RECORD_STATUS), "No data for 3 s") << "short: the status box is narrow";
  const std::string health = (*capture)->GetDlgItemText(IDC_RECORD_HEALTH);
  EXPECT_EQ(health.rfind("No data from the card for 3 s   Packets: 0   Bytes: 0 ", 0), 0u) << health;
  Click(IDC_CANCEL_RECORD);
  EXPECT_EQ((*capture)->GetDlgItemText(IDC_RECORD_STATUS), "Record Stopped!");
}

}  // namespace
