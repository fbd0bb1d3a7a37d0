#include <gtest/gtest.h>

#include <atomic>

#include "app/bda_util_dlg.h"
#include "platform/com/com_object.h"
#include "tests/support/fake_devices.h"
#include "resources/resource_ids.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/ui_test_helpers.h"

namespace {

// A tuner whose demodulator reports what the test sets.
class ScriptedTuner final : public FakeFilterBase<ScriptedTuner, IBDA_Topology, IBDA_SignalStatistics> {
 public:
  std::atomic<LONG> quality{0}, strength{0};
  std::atomic<BOOLEAN> locked{0};
  std::atomic<HRESULT> qualityResult{S_OK};

  HRESULT GetControlNode(ULONG in, ULONG out, ULONG type, IUnknown** node) override {
    if (in != 0 || out != 1 || type != 0) return E_INVALIDARG;
    return static_cast<IBDA_SignalStatistics*>(this)->QueryInterface(IUnknown::IID, reinterpret_cast<void**>(node));
  }
  HRESULT get_SignalStrength(LONG* v) override { return (*v = strength, S_OK); }
  HRESULT get_SignalQuality(LONG* v) override { return (*v = quality, qualityResult.load()); }
  HRESULT get_SignalLocked(BOOLEAN* v) override { return (*v = locked, S_OK); }
};

class SignalMonitorTest : public testing::Test {
 protected:
  // Runs the main window, puts the scripted tuner in place of the card's
  // (under the driver mutex, as the monitor reads it), and runs script.
  void RunWithTuner(const std::function<void(CBDAUtilDlg&)>& script) {
    CBDAUtilDlg dialog;
    WhenModalRuns([&] {
      {
        std::lock_guard driver(TheTunerContext().m_hDriverMutex);
        m_card = TheTunerContext().m_pTunerFilter;
        TheTunerContext().m_pTunerFilter = ComPtr<IBaseFilter>(static_cast<IBaseFilter*>(m_tuner.Get()));
      }
      script(dialog);
      {
        std::lock_guard driver(TheTunerContext().m_hDriverMutex);
        TheTunerContext().m_pTunerFilter = m_card;
      }
      dialog.OnCancel();
    });
    dialog.DoModal();
  }
  bool ShowsText(CBDAUtilDlg& d, int id, const std::string& text) {
    return WaitUntil([&] { return d.GetDlgItemText(id) == text; });
  }

  SimulatedPlatform m_platform;
  ComPtr<ScriptedTuner> m_tuner = MakeComObject<ScriptedTuner>();
  ComPtr<IBaseFilter> m_card;
};

TEST_F(SignalMonitorTest, ShowsTheReadingsAndPublishesTheLockFlag) {
  RunWithTuner([&](CBDAUtilDlg& d) {
    m_tuner->quality = 150;
    m_tuner->strength = 0x1FF;  // only the low 8 bits count
    m_tuner->locked = 1;
    EXPECT_TRUE(ShowsText(d, IDC_QUALITY_TEXT, "150"));
    EXPECT_TRUE(ShowsText(d, IDC_STRENGTH_TEXT, "255"));
    EXPECT_TRUE(ShowsText(d, IDC_LOCK_TEXT, "LOCKED"));
    EXPECT_TRUE(WaitUntil([&] { return d.ProgressGetPos(IDC_QUALITY_BAR) == 100; })) << "above 100 fills the bar";
    EXPECT_EQ(d.ShownIcon(IDC_LOCK_ICON), IDI_LOCKED);
    EXPECT_EQ(SignalLockedFlag().load(), 1);

    m_tuner->locked = 255;  // anything but 1 is not locked
    EXPECT_TRUE(ShowsText(d, IDC_LOCK_TEXT, "UNLOCKED"));
    EXPECT_TRUE(WaitUntil([&] { return SignalLockedFlag().load() == 0; }));

    m_tuner->locked = 1;
    m_tuner->qualityResult = E_FAIL;  // a failed read shows no signal
    EXPECT_TRUE(ShowsText(d, IDC_QUALITY_TEXT, "0"));
    EXPECT_TRUE(ShowsText(d, IDC_LOCK_TEXT, "UNLOCKED"));
    EXPECT_EQ(d.ShownIcon(IDC_LOCK_ICON), IDI_UNLOCKED);
  });
}

TEST_F(SignalMonitorTest, AWeakSignalIsReadEveryOneAndAHalfSeconds) {
  RunWithTuner([&](CBDAUtilDlg& d) {
    m_tuner->quality = 80;
    m_tuner->strength = 10;  // exactly 10 is weak
    m_tuner->locked = 1;
    EXPECT_TRUE(ShowsText(d, IDC_STRENGTH_TEXT, "10"));
    m_platform.Clock().ClearSleeps();
    EXPECT_TRUE(WaitUntil([&] { return m_platform.Clock().Sleeps().size() >= 4; }));
    const auto weak = m_platform.Clock().Sleeps();
    EXPECT_EQ(std::vector<std::uint32_t>(weak.begin(), weak.begin() + 4), (std::vector<std::uint32_t>{1000, 500, 1000, 500}));

    m_tuner->strength = 11;
    EXPECT_TRUE(ShowsText(d, IDC_STRENGTH_TEXT, "11"));
    WaitUntil([&] { return m_platform.Clock().Sleeps().size() >= weak.size() + 2; });
    m_platform.Clock().ClearSleeps();
    EXPECT_TRUE(WaitUntil([&] { return m_platform.Clock().Sleeps().size() >= 3; }));
    const auto strong = m_platform.Clock().Sleeps();
    EXPECT_EQ(std::vector<std::uint32_t>(strong.begin(), strong.begin() + 3), (std::vector<std::uint32_t>{1000, 1000, 1000}));
  });
}

}  // namespace
