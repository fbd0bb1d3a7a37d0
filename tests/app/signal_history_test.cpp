#include "app/signal_history.h"

#include <gtest/gtest.h>

#include "app/signal_history_plot.h"
#include "app/signal_trend.h"

namespace {

SignalSample At(std::uint64_t timeMs, int quality = 50) { return {timeMs, quality, 60, true, std::nullopt}; }

std::vector<std::uint64_t> Times(const SignalHistory& history) {
  std::vector<std::uint64_t> times;
  for (const auto& sample : history.Samples()) times.push_back(sample.timeMs);
  return times;
}

TEST(SignalHistory, KeepsTheSpanBeforeItsNewestReadingAndIgnoresOlderOnes) {
  SignalHistory history;
  history.Add(At(1000));
  history.Add(At(2000));
  history.Add(At(1000 + SignalHistory::kSpanMs));  // the first is exactly one span old: kept
  EXPECT_EQ(Times(history), (std::vector<std::uint64_t>{1000, 2000, 1000 + SignalHistory::kSpanMs}));
  history.Add(At(1001 + SignalHistory::kSpanMs));
  EXPECT_EQ(history.Samples().front().timeMs, 2000u);
  history.Add(At(1500));  // from before the newest: not taken
  EXPECT_EQ(history.Newest().timeMs, 1001 + SignalHistory::kSpanMs);
  history.Add(At(10 * SignalHistory::kSpanMs));  // after a long silence only the new reading is left
  EXPECT_EQ(Times(history), std::vector<std::uint64_t>{10 * SignalHistory::kSpanMs});
}

TEST(SignalHistory, SplitsIntoRunsWhereTheMonitorWasHeldUp) {
  const struct {
    const char* what;
    std::vector<std::uint64_t> times;
    std::vector<std::pair<std::size_t, std::size_t>> runs;
  } cases[] = {
      {"empty", {}, {}},
      {"one reading", {0}, {{0, 1}}},
      {"a steady monitor", {0, 1000, 2500, 3500}, {{0, 4}}},
      {"exactly the gap still joins", {0, SignalHistory::kGapMs}, {{0, 2}}},
      {"a box held the monitor", {0, 1000, 9000, 10000, 30000}, {{0, 2}, {2, 4}, {4, 5}}},
  };
  for (const auto& c : cases) {
    SignalHistory history;
    for (auto t : c.times) history.Add(At(t));
    EXPECT_EQ(history.Runs(), c.runs) << c.what;
  }
}

TEST(SignalHistory, TheMarginTextNeedsAReportedMargin) {
  SignalSample sample = At(0);
  EXPECT_EQ(MarginText(sample), "");
  sample.marginDb = 11.38;
  EXPECT_EQ(MarginText(sample), "margin 11.4 dB");
  sample.marginDb = -0.62;
  EXPECT_EQ(MarginText(sample), "margin -0.6 dB");
}

TEST(SignalTrend, TheHistoryWindowOpensBesideTheMainWindowAndOnTheScreen) {
  const QRect screen(0, 0, 1280, 1024);
  const QSize size(472, 212);
  const struct {
    const char* what;
    QRect frame;
    int top;
    QPoint at;
  } cases[] = {
      {"room on the right", {100, 100, 472, 679}, 444, {580, 444}},
      {"no room on the right", {700, 100, 472, 679}, 444, {220, 444}},
      {"room on neither side", {300, 100, 680, 679}, 444, {0, 444}},
      {"below the screen's foot", {100, 500, 472, 679}, 900, {580, 812}},
  };
  for (const auto& c : cases) EXPECT_EQ(PlaceBeside(c.frame, c.top, size, screen), c.at) << c.what;
}

}  // namespace
