// A Capture Control page on a plain host, recording through the real stream
// sink and recording state; the graph is a counting run/stop control, the
// signal is locked, ticks are fired by hand and boxes are recorded. $HOME is
// a fresh folder, so the default record file lands there.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QtTest/QTest>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "platform/com/file_faults.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/resource_registry.h"
#include "recording/capture_control_dlg.h"
#include "recording/dest_filter.h"
#include "recording/dump_input_pin.h"
#include "recording/free_space.h"
#include "recording/recording_state.h"
#include "resources/resource_ids.h"
#include "tests/recording/fake_media_control.h"
#include "tests/recording/test_sample.h"
#include "tests/support/file_contents.h"
#include "tests/support/hosted_page.h"
#include "tests/support/manual_timers.h"
#include "tests/support/message_box_recorder.h"
#include "tuner/tuner_context.h"

// Answers the save dialog with a path set by the test (none: cancelled).
class ScriptedFileDialog final : public FileDialogService {
 public:
  std::optional<std::string> AskSavePath(const SaveFileRequest& request) override {
    requests.push_back(request);
    return answer;
  }
  std::optional<std::string> answer;
  std::vector<SaveFileRequest> requests;
};

// Set up before the page is made: the page takes its default path from $HOME.
struct CaptureEnvironment {
  CaptureEnvironment() {
    static int instance = 0;
    dir = (std::filesystem::temp_directory_path() /
           ("capture-page-" + std::to_string(::getpid()) + "-" + std::to_string(++instance)))
              .string();
    std::filesystem::create_directories(dir);
    if (const char* home = std::getenv("HOME")) savedHome = home;
    setenv("HOME", dir.c_str(), 1);
    ui::SetUiLanguage("en");
    control = MakeComObject<FakeMediaControl>();
    HRESULT hr;
    sink = new CDestFilter(nullptr, &SinkLock(), &hr);
    sink->NonDelegatingAddRef();
    TheTunerContext().m_pMediaControl = control;
    TheTunerContext().m_pDestFilter = sink;
    SignalLockedFlag() = 1;
    // Room for any limit, whatever this machine's disk holds (sparse files stand for the big ones).
    savedFreeSpace = SetFreeSpaceFunction([](const std::string&) { return std::optional<std::uint64_t>(1ull << 50); });
  }
  ~CaptureEnvironment() {
    SetFreeSpaceFunction(savedFreeSpace);
    SetWriteFailureAfterBytes(std::nullopt);
    StopRecording();
    TheTunerContext().m_pMediaControl = nullptr;
    TheTunerContext().m_pDestFilter = nullptr;
    sink->NonDelegatingRelease();
    SignalLockedFlag() = 0;
    ui::SetUiLanguage("");
    setenv("HOME", savedHome.c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }

  std::string dir;
  std::string savedHome;
  ComPtr<FakeMediaControl> control;
  CDestFilter* sink = nullptr;
  FreeSpaceFunction savedFreeSpace;
};

class CapturePageTest : public testing::Test, protected CaptureEnvironment {
 protected:
  QAbstractButton* Button(int id) { return qobject_cast<QAbstractButton*>(page->GetDlgItem(id)); }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(page->GetDlgItem(id)); }
  QProgressBar* Progress() { return qobject_cast<QProgressBar*>(page->GetDlgItem(IDC_RECORD_PROGRESS)); }

  bool IsTimerArmed() { return timers.IsArmed(&*page, CUtiVirtualDamonDlg::kRecordTimer); }
  // One period of the record timer, which must be armed at 100 ms.
  void Tick() {
    ASSERT_TRUE(IsTimerArmed());
    ASSERT_EQ(timers.Period(&*page, CUtiVirtualDamonDlg::kRecordTimer), 100u);
    timers.FireArmed();
  }
  void StartRecordingByClick() {
    QTest::mouseClick(Button(IDC_START_RECORD), Qt::LeftButton);
    ASSERT_TRUE(page->IsRecording());
  }
  // A sample through the sink's input pin, as the streaming thread delivers it.
  void Send(std::vector<BYTE> bytes) {
    auto sample = MakeComObject<TestSample>(std::move(bytes));
    sink->InputPin()->Receive(sample.Get());
  }
  // Makes the record file this long without writing it (sparse); the next
  // sample's write publishes the length.
  bool GrowRecordTo(std::uint64_t bytes) {
    if (::truncate(recordPath.c_str(), static_cast<off_t>(bytes)) != 0) return false;
    Send(Counting(188, 0));
    return true;
  }
  std::vector<BYTE> ReadRecord() { return FileBytes(recordPath); }
  // Focus and key tests need a shown, active window.
  void ShowHost() {
    page.Host().show();
    page.Host().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page.Host()));
  }

  std::string home = dir;
  std::string recordPath = dir + "/Lumo-capture.ts";
  ManualTimers timers;
  MessageBoxRecorder boxes;
  HostedPage<CUtiVirtualDamonDlg> page;
};
