// Closing the main window while the monitor thread is busy: the monitor's
// waits end at once, and nothing the operator or the system sends reaches
// the half-closed window.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/bda_util_dlg.h"
#include "platform/devices/device_notifications.h"
#include "resources/resource_ids.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/ui_test_helpers.h"

namespace {

// A clock whose waits last until they are woken (a plain sleep lasts until
// the safety limit), so a wait that a stop cannot cut short shows.
class WaitUntilWokenClock final : public Clock {
 public:
  static constexpr std::uint32_t kSafetyMs = 20000;
  void SleepMs(std::uint32_t) override {
    ++m_uncuttable;
    WakeSignal never;
    never.WaitRealMs(kSafetyMs);
  }
  bool SleepMsUnless(std::uint32_t, WakeSignal& wake) override {
    const bool woken = wake.WaitRealMs(kSafetyMs);
    if (woken) ++m_cut;
    return woken;
  }
  std::uint64_t NowMs() override { return 0; }
  int Cut() const { return m_cut; }
  int Uncuttable() const { return m_uncuttable; }

 private:
  std::atomic<int> m_cut{0};
  std::atomic<int> m_uncuttable{0};
};

TEST(MainWindowClose, StoppingTheMonitorCutsItsWaitShort) {
  SimulatedPlatform platform;
  auto clock = std::make_shared<WaitUntilWokenClock>();
  auto previous = SetClock(clock);
  CBDAUtilDlg dialog;
  WhenModalRuns([&] {
    // The first cycle's reading is shown; the monitor then waits.
    EXPECT_TRUE(WaitUntil([&] { return dialog.GetDlgItemText(IDC_LOCK_TEXT) == "UNLOCKED"; }));
    dialog.OnCancel();
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  SetClock(previous);
  EXPECT_FALSE(dialog.IsMonitorRunning());
  EXPECT_EQ(clock->Cut(), 1) << "the stop ended the wait it found the monitor in";
  EXPECT_EQ(clock->Uncuttable(), 0);
}

// A clock whose waits last until the test opens the gate, whatever wakes
// them: the monitor is then busy for as long as the test needs.
class GatedClock final : public Clock {
 public:
  void SleepMs(std::uint32_t) override {}
  bool SleepMsUnless(std::uint32_t, WakeSignal& wake) override {
    ++m_entered;
    m_gate.WaitRealMs(5000);
    return wake.IsSet();
  }
  std::uint64_t NowMs() override { return 0; }
  int Entered() const { return m_entered; }
  void Open() { m_gate.Set(); }

 private:
  std::atomic<int> m_entered{0};
  WakeSignal m_gate;
};

TEST(MainWindowClose, NoClickKeyOrDeviceMessageReachesTheWindowOnceClosingHasBegun) {
  sim::SimConfig config;
  config.driver.faults.tune = sim::CallOutcome::Negative;  // each Lock TP shows a box
  SimulatedPlatform platform(config);
  auto clock = std::make_shared<GatedClock>();
  auto previous = SetClock(clock);
  CBDAUtilDlg dialog;
  bool injected = false;
  QTimer duringClose;
  QObject::connect(&duringClose, &QTimer::timeout, [&] {
    if (injected || !dialog.IsClosing()) return;
    injected = true;
    auto* lockTp = qobject_cast<QPushButton*>(dialog.TunerPage().GetDlgItem(IDC_LOCK_TP));
    QTest::mouseClick(lockTp, Qt::LeftButton);
    QTest::keyClick(dialog.TunerPage().GetDlgItem(IDC_FREQUENCY), Qt::Key_Return);
    devices::PublishDeviceChange(devices::DBT_DEVICEREMOVECOMPLETE);
    QApplication::processEvents();
    clock->Open();
  });
  WhenModalRuns([&] {
    EXPECT_TRUE(WaitUntil([&] { return clock->Entered() == 1; })) << "the monitor waits after its first cycle";
    duringClose.start(1);
    dialog.OnCancel();
  });
  const auto subscription = devices::SubscribeDeviceChanges([](std::uint32_t code) { BroadcastDeviceChange(code); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "a removal during the close does not turn it into OK";
  devices::UnsubscribeDeviceChanges(subscription);
  SetClock(previous);
  EXPECT_TRUE(injected) << "the close waited for the monitor, and the input came meanwhile";
  EXPECT_TRUE(platform.Boxes().Texts().empty()) << "Lock TP ran: " << platform.Boxes().Texts()[0];
}

}  // namespace
