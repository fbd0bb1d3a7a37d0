#include "app/alignment_view.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/alignment_audio.h"
#include "app/alignment_plot.h"
#include "app/bda_util_dlg.h"
#include "platform/com/clock.h"
#include "tests/support/simulated_platform.h"
#include "tests/support/ui_test_helpers.h"

namespace {

template <typename T>
T* Part(QWidget* view, const char* name) {
  T* part = view->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(part, nullptr) << name;
  return part;
}

QString Text(QWidget* view, const char* name) { return Part<QLabel>(view, name)->text(); }

std::int64_t WallMs(int hour, int minute, int second) {
  return QDateTime(QDate(2024, 5, 1), QTime(hour, minute, second)).toMSecsSinceEpoch();
}

// The window on its own, fed by the test.
class AlignmentViewTest : public testing::Test {
 protected:
  void Feed(SignalSample sample, std::int64_t wallMs = 0) {
    sample.timeMs = m_nextMs += 1000;
    m_history.Add(sample);
    m_peak.Add(sample, wallMs);
    m_view.Refresh();
  }
  void ShowView() {
    m_view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
  }

  SignalHistory m_history;
  PeakHold m_peak;
  std::uint64_t m_nextMs = 0;
  AlignmentView m_view{m_history, m_peak, nullptr};
};

TEST_F(AlignmentViewTest, ShowsTheNewestReadingInPercentAndTheMarginOnlyWhereTheDriverReportsIt) {
  EXPECT_EQ(m_view.windowTitle(), "Signal alignment");
  EXPECT_EQ(Text(&m_view, "alignment-quality"), "–") << "no readings yet";
  EXPECT_EQ(Text(&m_view, "alignment-peak"), "No peak yet");
  const struct {
    SignalSample sample;
    const char* strength;
    const char* quality;
    const char* margin;
    const char* lock;
  } cases[] = {
      {{0, 87, 64, true, 6.44}, "64%", "87%", "6.4 dB", "LOCKED"},
      {{0, 150, 255, true, -0.62}, "100%", "100%", "-0.6 dB", "LOCKED"},  // full, as the strip's bars
      {{0, 0, 12, false, std::nullopt}, "12%", "0%", "n/a", "UNLOCKED"},
  };
  for (const auto& c : cases) {
    Feed(c.sample);
    EXPECT_EQ(Text(&m_view, "alignment-strength"), c.strength);
    EXPECT_EQ(Text(&m_view, "alignment-quality"), c.quality);
    EXPECT_EQ(Text(&m_view, "alignment-margin"), c.margin);
    EXPECT_EQ(Text(&m_view, "alignment-lock"), c.lock);
  }
}

TEST_F(AlignmentViewTest, ThePeakIsShownWithItsClockTimeUntilResetPeakIsClicked) {
  ShowView();
  Feed({0, 87, 80, true, 6.4}, WallMs(14, 3, 12));
  Feed({0, 60, 85, true, 3.0}, WallMs(14, 3, 13));
  Feed({0, 95, 90, false, std::nullopt}, WallMs(14, 3, 14));  // without lock: not a peak
  EXPECT_EQ(Text(&m_view, "alignment-peak"), "Peak quality 87% at 14:03:12\nstrength 80%, margin 6.4 dB");

  QTest::mouseClick(Part<QPushButton>(&m_view, "alignment-reset-peak"), Qt::LeftButton);
  EXPECT_EQ(Text(&m_view, "alignment-peak"), "No peak yet");
  EXPECT_FALSE(m_peak.Peak());

  Feed({0, 40, 30, true, std::nullopt}, WallMs(9, 0, 5));
  EXPECT_EQ(Text(&m_view, "alignment-peak"), "Peak quality 40% at 09:00:05\nstrength 30%") << "no margin reported";
}

TEST_F(AlignmentViewTest, TheWindowResizesAndThePlotTakesTheRoomWithoutCuttingAnyText) {
  Feed({0, 87, 64, true, -10.04}, WallMs(23, 59, 59));
  ShowView();
  auto* plot = Part<AlignmentPlot>(&m_view, "alignment-plot");
  auto* reset = Part<QPushButton>(&m_view, "alignment-reset-peak");
  auto* tone = Part<QCheckBox>(&m_view, "alignment-tone");
  const QSize plotBefore = plot->size();
  const int resetFromRight = m_view.width() - reset->geometry().right();

  m_view.resize(m_view.size() + QSize(300, 200));
  QApplication::processEvents();
  EXPECT_EQ(plot->size(), plotBefore + QSize(300, 200)) << "the other rows keep their size";
  EXPECT_EQ(m_view.width() - reset->geometry().right(), resetFromRight) << "the button stays at the right edge";
  EXPECT_GT(reset->geometry().top(), plot->geometry().bottom());

  // As small as the window goes: every text whole, nothing on top of another.
  m_view.resize(1, 1);
  QApplication::processEvents();
  EXPECT_LT(plot->width(), plotBefore.width());
  std::vector<QWidget*> parts = {plot, reset, tone};
  for (const char* name : {"alignment-strength", "alignment-quality", "alignment-margin", "alignment-lock", "alignment-peak"}) {
    auto* label = Part<QLabel>(&m_view, name);
    EXPECT_GE(label->width(), label->sizeHint().width()) << name << " is cut";
    EXPECT_GE(label->height(), label->sizeHint().height()) << name << " is cut";
    parts.push_back(label);
  }
  EXPECT_GE(reset->width(), reset->sizeHint().width());
  EXPECT_GE(tone->width(), tone->sizeHint().width());
  for (std::size_t i = 0; i < parts.size(); ++i) {
    EXPECT_TRUE(m_view.rect().contains(parts[i]->geometry())) << parts[i]->objectName().toStdString();
    for (std::size_t j = i + 1; j < parts.size(); ++j)
      EXPECT_FALSE(parts[i]->geometry().intersects(parts[j]->geometry()))
          << parts[i]->objectName().toStdString() << " / " << parts[j]->objectName().toStdString();
  }
}

TEST_F(AlignmentViewTest, TheToneIsOffAndOnlyOfferedWithAnAudioOutput) {
  ShowView();
  Feed({0, 70, 60, true, 5.0});
  auto* tone = Part<QCheckBox>(&m_view, "alignment-tone");
  EXPECT_FALSE(tone->isChecked());
  if (!AlignmentAudio::OutputAvailable()) {
    EXPECT_FALSE(tone->isEnabled());
    EXPECT_EQ(tone->toolTip(), "No audio output device");
    QTest::mouseClick(tone, Qt::LeftButton);
    EXPECT_FALSE(tone->isChecked());
    return;
  }
  EXPECT_TRUE(tone->isEnabled());
  QTest::mouseClick(tone, Qt::LeftButton);
  EXPECT_TRUE(tone->isChecked());
  Feed({0, 20, 60, false, std::nullopt});  // lock lost while it plays
  QTest::mouseClick(tone, Qt::LeftButton);
  EXPECT_FALSE(tone->isChecked());
  QTest::mouseClick(tone, Qt::LeftButton);
  m_view.close();
  EXPECT_FALSE(tone->isChecked()) << "closing the window silences it";
}

TEST(AlignmentWindow, AClickOnTheCornerPlotOpensItOnceWithThePeakSeenBefore) {
  SimulatedPlatform platform;
  CBDAUtilDlg dialog;
  WhenModalRuns([&] {
    SignalTrend& trend = dialog.Trend();
    // A peak from before the window was opened (the card itself is not tuned, so never locks).
    trend.Record({TickCountMs(), 77, 66, true, 4.2});
    EXPECT_EQ(trend.AlignmentWindow(), nullptr);

    QTest::mouseClick(trend.CornerPlot(), Qt::LeftButton);
    AlignmentView* window = trend.AlignmentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowTitle(), "Signal alignment");
    EXPECT_TRUE(Text(window, "alignment-peak").startsWith("Peak quality 77% at ")) << Text(window, "alignment-peak").toStdString();

    window->close();
    QTest::mouseClick(trend.CornerPlot(), Qt::LeftButton);
    EXPECT_EQ(trend.AlignmentWindow(), window) << "the same window again";
    EXPECT_TRUE(window->isVisible());
    dialog.OnCancel();
  });
  dialog.DoModal();
}

}  // namespace
