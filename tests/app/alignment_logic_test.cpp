#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "app/alignment_tone.h"
#include "app/peak_hold.h"
#include "app/signal_smoothing.h"

namespace {

constexpr int kRate = 48000;

SignalSample Locked(int quality, int strength = 60, std::optional<double> marginDb = std::nullopt, std::uint64_t timeMs = 0) {
  return {timeMs, quality, strength, true, marginDb};
}

std::vector<std::int16_t> Pcm(ToneGenerator& tone, std::size_t count) {
  std::vector<std::int16_t> pcm(count);
  tone.Fill(pcm);
  return pcm;
}

// The largest change between neighbouring samples a sine of this pitch at the
// generator's level can make, with a sample of rounding.
double SineStep(double hz) { return ToneGenerator::kLevel * 32767.0 * 2 * std::numbers::pi * hz / kRate + 1; }

double LargestStep(const std::vector<std::int16_t>& pcm) {
  double largest = 0;
  for (std::size_t i = 1; i < pcm.size(); ++i) largest = std::max(largest, std::abs(double(pcm[i]) - pcm[i - 1]));
  return largest;
}

int LargestValue(const std::vector<std::int16_t>& pcm) {
  int largest = 0;
  for (auto v : pcm) largest = std::max(largest, std::abs(int(v)));
  return largest;
}

const std::size_t kFadeSamples = ToneGenerator::kFadeMs * kRate / 1000;
const int kFullLevel = static_cast<int>(std::lround(ToneGenerator::kLevel * 32767));

TEST(AlignmentTone, ThePitchRisesWithQualityBetweenItsBoundsAndIsSilentWithoutLock) {
  const struct {
    int quality;
    double hz;
  } cases[] = {{0, kToneLowHz}, {50, (kToneLowHz + kToneHighHz) / 2}, {100, kToneHighHz}, {180, kToneHighHz}, {-5, kToneLowHz}};
  for (const auto& c : cases) {
    ASSERT_TRUE(TonePitchHz(Locked(c.quality))) << c.quality;
    EXPECT_DOUBLE_EQ(*TonePitchHz(Locked(c.quality)), c.hz) << c.quality;
  }
  double last = 0;
  for (int quality = 0; quality <= 100; ++quality) {
    const double hz = *TonePitchHz(Locked(quality));
    EXPECT_GT(hz, last) << "a better quality always sounds higher: " << quality;
    last = hz;
  }
  for (int quality : {0, 60, 100}) {
    SignalSample unlocked = Locked(quality);
    unlocked.locked = false;
    EXPECT_FALSE(TonePitchHz(unlocked)) << quality;
  }
}

TEST(AlignmentTone, TheGeneratedSinePlaysThePitchAcrossBuffersOfAnySize) {
  for (double hz : {kToneLowHz, 440.0, 1234.5, kToneHighHz}) {
    ToneGenerator tone(kRate);
    tone.SetPitch(hz);
    std::vector<std::int16_t> pcm;
    const std::size_t sizes[] = {777, 1, 4096};  // the sink asks for what it likes
    for (std::size_t i = 0; pcm.size() < kRate; ++i) {
      const auto part = Pcm(tone, sizes[i % 3]);
      pcm.insert(pcm.end(), part.begin(), part.end());
    }
    // Rising zero crossings after the fade-in, placed between samples.
    std::vector<double> crossings;
    for (std::size_t i = kFadeSamples + 1; i < pcm.size(); ++i)
      if (pcm[i - 1] < 0 && pcm[i] >= 0) crossings.push_back(i - 1 + double(-pcm[i - 1]) / (pcm[i] - pcm[i - 1]));
    ASSERT_GT(crossings.size(), 100u) << hz;
    const double measured = (crossings.size() - 1) * double(kRate) / (crossings.back() - crossings.front());
    EXPECT_NEAR(measured, hz, hz * 0.01) << hz;
    EXPECT_NEAR(LargestValue(pcm), kFullLevel, 2) << hz;
  }
}

TEST(AlignmentTone, ThePhaseRunsOnAcrossBuffersAndPitchChanges) {
  // Two buffers hold exactly what one buffer of both their lengths holds.
  ToneGenerator whole(kRate), split(kRate);
  whole.SetPitch(1000.0);
  split.SetPitch(1000.0);
  const auto expected = Pcm(whole, 3001);
  auto parts = Pcm(split, 1234);
  const auto second = Pcm(split, 1767);
  parts.insert(parts.end(), second.begin(), second.end());
  EXPECT_EQ(parts, expected);

  // A new pitch between buffers moves no further than one step of the sine.
  ToneGenerator tone(kRate);
  tone.SetPitch(kToneLowHz);
  auto pcm = Pcm(tone, 2 * kFadeSamples + 37);
  for (double hz : {kToneHighHz, 700.0, 1499.0, kToneLowHz}) {
    tone.SetPitch(hz);
    const auto next = Pcm(tone, 613);
    pcm.insert(pcm.end(), next.begin(), next.end());
  }
  EXPECT_LE(LargestStep(pcm), SineStep(kToneHighHz));
}

TEST(AlignmentTone, StartingAndStoppingFadeInsteadOfClicking) {
  ToneGenerator tone(kRate);
  EXPECT_TRUE(tone.Silent());
  EXPECT_EQ(LargestValue(Pcm(tone, 500)), 0) << "silent until a pitch is set";

  tone.SetPitch(kToneHighHz);
  EXPECT_FALSE(tone.Silent());
  const auto start = Pcm(tone, 2 * kFadeSamples);
  EXPECT_LE(std::abs(int(start[0])), 1) << "starts at zero";
  const std::vector<std::int16_t> firstMs(start.begin(), start.begin() + kRate / 1000);
  EXPECT_LT(LargestValue(firstMs), kFullLevel / 5) << "the first millisecond is still quiet";
  EXPECT_NEAR(LargestValue(std::vector<std::int16_t>(start.begin() + kFadeSamples, start.end())), kFullLevel, 2);
  EXPECT_LE(LargestStep(start), SineStep(kToneHighHz));

  tone.SetPitch(std::nullopt);
  EXPECT_FALSE(tone.Silent()) << "still fading out";
  const auto stop = Pcm(tone, kFadeSamples + 10);
  EXPECT_GT(LargestValue(std::vector<std::int16_t>(stop.begin(), stop.begin() + kRate / 1000)), kFullLevel / 2)
      << "not cut off at once";
  EXPECT_LE(std::abs(start.back() - stop.front()), SineStep(kToneHighHz));
  EXPECT_LE(LargestStep(stop), SineStep(kToneHighHz));
  EXPECT_EQ(LargestValue(std::vector<std::int16_t>(stop.begin() + kFadeSamples, stop.end())), 0);
  EXPECT_TRUE(tone.Silent());
  EXPECT_EQ(LargestValue(Pcm(tone, 500)), 0);

  // Starting again fades in again.
  tone.SetPitch(440.0);
  EXPECT_LE(std::abs(int(Pcm(tone, 1)[0])), 1);
}

TEST(PeakHold, HoldsTheFirstLockedReadingOfTheHighestQualityUntilReset) {
  PeakHold hold;
  EXPECT_FALSE(hold.Peak());
  SignalSample unlocked = Locked(95);
  unlocked.locked = false;
  const struct {
    const char* what;
    SignalSample sample;
    std::int64_t wallMs;
    bool newPeak;
    int heldQuality;
    std::int64_t heldWallMs;
  } steps[] = {
      {"unlocked does not count", unlocked, 100, false, -1, 0},
      {"the first locked reading", Locked(50, 40, 2.5), 200, true, 50, 200},
      {"lower", Locked(40), 300, false, 50, 200},
      {"equal keeps the first time", Locked(50, 70, 3.0), 400, false, 50, 200},
      {"higher", Locked(70, 66, 6.4), 500, true, 70, 500},
      {"unlocked and higher", [&] { auto s = unlocked; s.quality = 99; return s; }(), 600, false, 70, 500},
  };
  for (const auto& s : steps) {
    EXPECT_EQ(hold.Add(s.sample, s.wallMs), s.newPeak) << s.what;
    if (s.heldQuality < 0) {
      EXPECT_FALSE(hold.Peak()) << s.what;
      continue;
    }
    ASSERT_TRUE(hold.Peak()) << s.what;
    EXPECT_EQ(hold.Peak()->sample.quality, s.heldQuality) << s.what;
    EXPECT_EQ(hold.Peak()->wallClockMs, s.heldWallMs) << s.what;
  }
  EXPECT_EQ(hold.Peak()->sample.strength, 66) << "the strength and margin read with the peak";
  EXPECT_EQ(hold.Peak()->sample.marginDb, 6.4);

  hold.Reset();
  EXPECT_FALSE(hold.Peak());
  EXPECT_TRUE(hold.Add(Locked(10), 700)) << "after a reset any locked reading is the peak";
  EXPECT_EQ(hold.Peak()->wallClockMs, 700);
}

TEST(SignalSmoothing, FollowsAStepWithinAFewReadingsWeighingTheTimeBetweenThem) {
  SignalSmoother smoother;
  EXPECT_EQ(smoother.Add(Locked(0, 0, 1.0, 0)).quality, 0) << "starts at the first reading";
  std::vector<double> rising;
  for (std::uint64_t t = 1000; t <= 6000; t += 1000) rising.push_back(smoother.Add(Locked(100, 50, 1.0, t)).quality);
  EXPECT_TRUE(std::is_sorted(rising.begin(), rising.end()));
  EXPECT_GT(rising.front(), 20) << "a change shows at the next reading";
  EXPECT_LT(rising.front(), 60) << "a single reading does not take it all the way";
  EXPECT_GT(rising.back(), 90) << "within a few seconds it is there";
  EXPECT_LT(rising.back(), 100);

  // One reading 2 s later moves as far as two a second apart.
  SignalSmoother once, twice;
  once.Add(Locked(0, 0, std::nullopt, 0));
  twice.Add(Locked(0, 0, std::nullopt, 0));
  twice.Add(Locked(80, 0, std::nullopt, 1000));
  EXPECT_NEAR(once.Add(Locked(80, 0, std::nullopt, 2000)).quality, twice.Add(Locked(80, 0, std::nullopt, 2000)).quality, 1e-9);
}

TEST(SignalSmoothing, StartsAgainAfterAGapAndWhereTheMarginReturns) {
  std::deque<SignalSample> samples = {
      Locked(20, 20, 2.0, 0),
      Locked(80, 80, 8.0, 1000),
      Locked(80, 80, std::nullopt, 2000),  // the driver gave no margin this time
      Locked(80, 80, 9.0, 3000),
      Locked(10, 90, 1.0, 3000 + SignalHistory::kGapMs + 1),  // the monitor was held up
  };
  const auto smoothed = Smooth(samples);
  ASSERT_EQ(smoothed.size(), samples.size());
  EXPECT_GT(smoothed[1].quality, 20);
  EXPECT_LT(smoothed[1].quality, 80);
  EXPECT_GT(*smoothed[1].marginDb, 2.0);
  EXPECT_LT(*smoothed[1].marginDb, 8.0);
  EXPECT_FALSE(smoothed[2].marginDb);
  EXPECT_GT(smoothed[2].quality, smoothed[1].quality) << "quality goes on without the margin";
  EXPECT_DOUBLE_EQ(*smoothed[3].marginDb, 9.0) << "a returning margin starts from its reading";
  EXPECT_DOUBLE_EQ(smoothed[4].quality, 10);
  EXPECT_DOUBLE_EQ(smoothed[4].strength, 90);
  EXPECT_DOUBLE_EQ(*smoothed[4].marginDb, 1.0);
  EXPECT_EQ(smoothed[4].timeMs, samples[4].timeMs);
}

}  // namespace
