// The simulated programme's video: the coded test card decodes, in a real
// decoder, to the picture that was drawn, clock included.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

#include "platform/sim/video/bit_writer.h"
#include "platform/sim/video/glyphs.h"
#include "platform/sim/video/test_card.h"
#include "tests/support/ffmpeg.h"

namespace {

double Psnr(const std::uint8_t* a, const std::uint8_t* b, std::size_t size) {
  double squares = 0;
  for (std::size_t i = 0; i < size; ++i) squares += (a[i] - b[i]) * (a[i] - b[i]);
  return squares == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * size / squares);
}

TEST(BitWriter, PacksBitsMostSignificantFirstAndAlignsStartCodes) {
  BitWriter out;
  out.Put(0x5, 3);     // 101
  out.Put(0x1, 1);     // 1
  out.Put(0x3F0F, 14);  // 11111100001111
  out.StartCode(0xB3);
  out.Put(0x1, 1);
  EXPECT_EQ(out.Take(), (std::vector<std::uint8_t>{0xBF, 0xC3, 0xC0, 0x00, 0x00, 0x01, 0xB3, 0x80}));
}

TEST(Glyphs, SmallLettersShowAsCapitalsAndUnknownCharactersAsAQuestionMark) {
  EXPECT_EQ(Glyph('a'), Glyph('A'));
  EXPECT_EQ(Glyph('~'), Glyph('?'));
  EXPECT_EQ(Glyph(' '), (std::array<std::uint8_t, kGlyphRows>{}));
  std::set<std::array<std::uint8_t, kGlyphRows>> digits;
  for (char c = '0'; c <= '9'; ++c) digits.insert(Glyph(c));
  EXPECT_EQ(digits.size(), 10u);
}

TEST(TestCard, TheClockShowsTheStreamsTimeOfDay) {
  EXPECT_EQ(TestCard::ClockText(0), "00:00:00");
  EXPECT_EQ(TestCard::ClockText(24), "00:00:00");
  EXPECT_EQ(TestCard::ClockText(25), "00:00:01");
  EXPECT_EQ(TestCard::ClockText(25 * 3661 + 24), "01:01:01");
  EXPECT_EQ(TestCard::ClockText(25 * 86400), "00:00:00") << "a day later it starts again";
}

TEST(TestCard, ACaptionIsCodedOnceAndEachFrameFollowsTheClock) {
  const TestCardCaption caption{{"Sat 16.0E", "12520 V 27500", "ISI 2"}, 2};
  const auto card = TestCardFor(caption);
  EXPECT_EQ(TestCardFor(caption), card);
  EXPECT_NE(TestCardFor({{"Sat 16.0E", "12520 V 27500", "ISI 3"}, 3}), card);

  std::vector<std::uint8_t> first, sameSecond, nextSecond;
  card->AppendFrame(0, &first);
  card->AppendFrame(1, &sameSecond);
  card->AppendFrame(25, &nextSecond);
  EXPECT_LE(first.size(), card->MaxFrameBytes());
  ASSERT_EQ(first.size(), sameSecond.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < first.size(); ++i) differing += first[i] != sameSecond[i];
  EXPECT_GT(differing, 0u) << "the group's time code counts pictures";
  EXPECT_LE(differing, 2u);
  EXPECT_NE(first, nextSecond);
  // Starts with a sequence header, so a player can join at any frame.
  EXPECT_EQ(std::vector<std::uint8_t>(first.begin(), first.begin() + 4), (std::vector<std::uint8_t>{0, 0, 1, 0xB3}));
}

// The picture a decoder shows is the one drawn: bars, captions, and the
// clock put together from its digit slices.
TEST(TestCard, DecodesToTheDrawnPicture) {
  if (!kHaveFfmpeg) GTEST_SKIP() << "ffmpeg is not installed (scripts/setup.sh installs it)";
  const TestCardCaption caption{{"Sat 23.5E", "12168 H 27500", "ISI 10"}, 10};
  const std::uint64_t frames[] = {0, 25 * 3661 + 7, 25 * 86399};
  std::vector<std::uint8_t> stream;
  for (std::uint64_t n : frames) TestCardFor(caption)->AppendFrame(n, &stream);
  const std::string path =
      (std::filesystem::temp_directory_path() / ("test-card-" + std::to_string(::getpid()) + ".m2v")).string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(stream.data()), static_cast<long>(stream.size()));

  EXPECT_EQ(DecodeErrors(path), std::string());
  const auto decoded = DecodePictures(path, 3);
  std::filesystem::remove(path);
  ASSERT_TRUE(decoded);
  constexpr std::size_t kLuma = TestCard::kWidth * TestCard::kHeight;
  constexpr std::size_t kPicture = kLuma * 3 / 2;
  ASSERT_EQ(decoded->size(), 3 * kPicture);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(TestCard::ClockText(frames[i]));
    const YuvPicture drawn = TestCard::Draw(caption, frames[i]);
    const std::uint8_t* picture = decoded->data() + i * kPicture;
    EXPECT_GT(Psnr(drawn.y.data(), picture, kLuma), 38.0);
    EXPECT_GT(Psnr(drawn.cb.data(), picture + kLuma, kLuma / 4), 45.0);
    EXPECT_GT(Psnr(drawn.cr.data(), picture + kLuma * 5 / 4, kLuma / 4), 45.0);
  }
  // A wrong clock would show: the drawn pictures of two times differ there.
  const YuvPicture other = TestCard::Draw(caption, frames[0]);
  EXPECT_LT(Psnr(other.y.data(), decoded->data() + kPicture, kLuma), 30.0);
}

}  // namespace
