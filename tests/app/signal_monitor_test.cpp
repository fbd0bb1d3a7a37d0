#include <gtest/gtest.h>

#include <QTest>
#include <atomic>
#include <cstring>
#include <mutex>
#include <optional>

#include "app/bda_util_dlg.h"
#include "platform/com/com_object.h"
#include "tests/support/fake_devices.h"
#include "tests/support/fake_property_set.h"
#include "resources/resource_ids.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/tuner_page_entry.h"
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

// A driver whose first media-information read notes what the window and
// the lock flag showed at that moment.
class WatchingDriver final : public ComObject<WatchingDriver, IKsPropertySet> {
 public:
  struct Moment {
    int lockedFlag;
    int icon;
    std::string lockText;
  };
  explicit WatchingDriver(CBDAUtilDlg& dialog) : m_dialog(dialog) {}

  HRESULT Set(REFGUID, DWORD, void*, DWORD, void*, DWORD) override { return S_OK; }
  HRESULT Get(REFGUID, DWORD id, void*, DWORD, void* data, DWORD length, DWORD* returned) override {
    if (id == KSPROPERTY_BDA_GET_MEDIAINFO) {
      Moment now{SignalLockedFlag().load(), m_dialog.ShownIcon(IDC_LOCK_ICON), m_dialog.GetDlgItemText(IDC_LOCK_TEXT)};
      std::lock_guard lock(m_mutex);
      if (!m_first) m_first = now;
    }
    std::memset(data, 0, length);
    if (returned) *returned = length;
    return S_OK;
  }
  HRESULT QuerySupported(REFGUID, DWORD, DWORD* support) override {
    *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
  }
  std::optional<Moment> First() const {
    std::lock_guard lock(m_mutex);
    return m_first;
  }

 private:
  CBDAUtilDlg& m_dialog;
  mutable std::mutex m_mutex;
  std::optional<Moment> m_first;
};

// Puts a driver interface in place of the card's for the life of the guard,
// under the driver mutex, as the monitor reads it.
class ReplacedDriver {
 public:
  explicit ReplacedDriver(ComPtr<IKsPropertySet> driver) {
    std::lock_guard lock(TheTunerContext().m_hDriverMutex);
    m_card = std::exchange(TheTunerContext().m_pKsCtrl, std::move(driver));
  }
  ~ReplacedDriver() {
    std::lock_guard lock(TheTunerContext().m_hDriverMutex);
    TheTunerContext().m_pKsCtrl = m_card;
  }

 private:
  ComPtr<IKsPropertySet> m_card;
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

TEST_F(SignalMonitorTest, TheMediaInformationIsReadAfterTheLockIsPublishedAndBeforeItsTextIsShown) {
  RunWithTuner([&](CBDAUtilDlg& d) {
    ComPtr<WatchingDriver> driver = MakeComObject<WatchingDriver>(d);
    EXPECT_TRUE(ShowsText(d, IDC_LOCK_TEXT, "UNLOCKED"));
    ReplacedDriver replaced(ComPtr<IKsPropertySet>(driver.Get()));
    m_tuner->quality = 80;
    m_tuner->strength = 80;
    m_tuner->locked = 1;
    ASSERT_TRUE(WaitUntil([&] { return driver->First().has_value(); }));
    const auto moment = *driver->First();
    EXPECT_EQ(moment.lockedFlag, 1);
    EXPECT_EQ(moment.icon, IDI_LOCKED);
    EXPECT_EQ(moment.lockText, "UNLOCKED") << "the lock text follows the media information";
    EXPECT_TRUE(ShowsText(d, IDC_LOCK_TEXT, "LOCKED"));
  });
}

TEST_F(SignalMonitorTest, WithoutTheDriverInterfaceThePanelIsLeftAsItWas) {
  RunWithTuner([&](CBDAUtilDlg& d) {
    ReplacedDriver replaced(nullptr);
    d.SetDlgItemText(IDC_MATYPE, "F2  00");
    d.SetDlgItemText(IDC_STREAM_TYPE, "TRANSPORT_STREAM");
    const auto cycles = m_platform.Clock().Sleeps().size();
    ASSERT_TRUE(WaitUntil([&] { return m_platform.Clock().Sleeps().size() > cycles + 4; }));
    EXPECT_EQ(d.GetDlgItemText(IDC_STREAM_TYPE), "TRANSPORT_STREAM");
    EXPECT_EQ(d.GetDlgItemText(IDC_MATYPE), "F2  00");
    EXPECT_EQ(d.GetDlgItemText(IDC_LOCK_TEXT), "UNLOCKED");
  });
}

TEST_F(SignalMonitorTest, TheHistoryTakesTheStripsReadingsAndNoMarginFromATunerThatCannotTell) {
  RunWithTuner([&](CBDAUtilDlg& d) {
    m_tuner->quality = 70;
    m_tuner->strength = 0x150;  // the strip's byte: 0x50
    m_tuner->locked = 1;
    const SignalHistory& history = d.Trend().History();
    ASSERT_TRUE(WaitUntil([&] { return !history.Empty() && history.Newest().quality == 70 && history.Samples().size() > 2; }));
    const SignalSample newest = history.Newest();
    EXPECT_EQ(newest.strength, 0x50);
    EXPECT_TRUE(newest.locked);
    EXPECT_FALSE(newest.marginDb);
    const auto& samples = history.Samples();
    EXPECT_GE(samples.back().timeMs - samples[samples.size() - 2].timeMs, 1000u) << "one reading per cycle";
    EXPECT_EQ(d.GetDlgItem(IDC_QUALITY_TEXT)->toolTip(), "");

    m_tuner->qualityResult = E_FAIL;  // shown as no signal, and kept so in the history
    ASSERT_TRUE(WaitUntil([&] { return history.Newest().quality == 0; }));
    EXPECT_FALSE(history.Newest().locked);
  });
}

TEST_F(SignalMonitorTest, ATunerThatMeasuresItsCarrierShowsTheLinkMarginBesideQuality) {
  CBDAUtilDlg dialog;
  WhenModalRuns([&] {
    CBdacontrolDlg& page = dialog.TunerPage();
    EnterCarrier(page, "11362", "22000");  // DVB-S2 8PSK 2/3: 6.62 dB needed of the 18 dB received
    page.OnOK();
    EXPECT_TRUE(WaitUntil([&] { return dialog.GetDlgItem(IDC_QUALITY_TEXT)->toolTip() == "margin 11.4 dB"; }));
    EXPECT_EQ(dialog.GetDlgItem(IDC_QUALITY_BAR)->toolTip(), "margin 11.4 dB");
    EXPECT_TRUE(dialog.Trend().History().Newest().locked);

    // A click on the small plot opens the alignment window beside the window.
    EXPECT_EQ(dialog.Trend().AlignmentWindow(), nullptr);
    QTest::mouseClick(dialog.Trend().CornerPlot(), Qt::LeftButton);
    QWidget* window = dialog.Trend().AlignmentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Signal alignment");

    m_platform.Card().Driver()->SetPointingError(3.0);  // nothing left to lock on
    EXPECT_TRUE(WaitUntil([&] { return dialog.GetDlgItemText(IDC_LOCK_TEXT) == "UNLOCKED"; }));
    EXPECT_TRUE(WaitUntil([&] { return dialog.GetDlgItem(IDC_QUALITY_TEXT)->toolTip().startsWith("margin -"); }));
    dialog.OnCancel();
  });
  dialog.DoModal();
}

}  // namespace
