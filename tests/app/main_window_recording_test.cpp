// Recording from the main window, with its signal monitor: "Start Record"
// follows the monitor's lock, and a recording cut short by the window
// closing (here: the card unplugged) keeps every byte it received.
#include <gtest/gtest.h>

#include <QAbstractButton>

#include "app/bda_util_app.h"
#include "app/bda_util_dlg.h"
#include "platform/devices/device_notifications.h"
#include "platform/sim/programme.h"
#include "platform/sim/stream/ts_generator.h"
#include "recording/recording_state.h"
#include "resources/resource_ids.h"
#include "tests/support/file_contents.h"
#include "tests/support/manual_timers.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
#include "tests/support/ui_test_helpers.h"
#include "tuner/tuner_context.h"

namespace {

void Click(CDialog& page, int id) { qobject_cast<QAbstractButton*>(page.GetDlgItem(id))->click(); }

TEST(MainWindowRecording, UnpluggingTheCardDuringARecordingKeepsEveryByteReceived) {
  SimulatedPlatform platform;
  SignalLockedFlag() = 0;
  const auto subscription = devices::SubscribeDeviceChanges([](std::uint32_t code) { BroadcastDeviceChange(code); });
  ManualTimers timers;
  const std::string path = platform.Folder() + "/unplugged.ts";
  std::vector<std::string> boxesBeforeLock;
  sim::StreamDescription stream;
  bool recorded = false;

  WhenModalRuns([&] {
    auto* window = static_cast<CBDAUtilDlg*>(FindOpenDialog(IDD_MAIN_DIALOG));
    ASSERT_NE(window, nullptr);
    window->Sheet().SetActivePage(1);
    CDialog& capture = *window->Sheet().GetPage(1);
    capture.SetDlgItemText(IDC_RECORD_PATH, path);

    // Before any tune the monitor sees no lock: nothing starts.
    Click(capture, IDC_START_RECORD);
    boxesBeforeLock = platform.Boxes().Texts();

    CBdacontrolDlg& tuner = window->TunerPage();
    EnterCarrier(tuner, "11362", "22000");
    tuner.OnOK();
    ASSERT_TRUE(WaitUntil([] { return SignalLockedFlag().load() == 1; }));
    stream = platform.Card().Driver()->DescribeStream();

    Click(capture, IDC_START_RECORD);
    ASSERT_TRUE(WaitUntil([] { return RecordedBytes() >= 1'000'000; }));
    timers.FireArmed();
    recorded = true;
    platform.Card().Remove();  // the window closes through OK, graph and file with it
  });
  CBDAUtilApp app(platform.Folder());
  app.InitInstance();
  devices::UnsubscribeDeviceChanges(subscription);
  SignalLockedFlag() = 0;

  EXPECT_EQ(boxesBeforeLock, std::vector<std::string>{"Signal is not locked! Please check signal first."});
  ASSERT_TRUE(recorded);
  EXPECT_FALSE(TheRecordingState().IsFileOpen()) << "closed when the window went";
  const std::vector<std::uint8_t> file = FileBytes(path);
  ASSERT_GE(file.size(), 1'000'000u);
  EXPECT_EQ(file.size(), RecordedBytes());
  EXPECT_EQ(file.size() % (348 * 188), 0u) << "every sample that arrived, whole";

  TsGenerator generator(SimStreamContent{}, 38'000'000, 348);
  generator.SetBitRate(static_cast<std::uint64_t>(stream.bitRate));
  generator.SetContent(sim::ProgrammeFor(platform.Card().Driver()->GetSky(), stream));
  std::vector<std::uint8_t> sent(file.size());
  for (std::size_t at = 0; at < sent.size(); at += 348 * 188) generator.Fill(&sent[at], 348);
  EXPECT_TRUE(sent == file) << "the file holds exactly what the card sent";
}

}  // namespace
