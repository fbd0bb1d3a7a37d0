#include "platform/sim/video/test_card.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>

#include "platform/sim/video/glyphs.h"
#include "platform/sim/video/mpeg2_intra.h"

namespace {

constexpr int kMbColumns = TestCard::kWidth / mpeg2::kMacroblock;  // 45
constexpr int kMbRows = TestCard::kHeight / mpeg2::kMacroblock;    // 36
constexpr int kQuantiserScaleCode = 8;
constexpr std::uint32_t kAnnouncedBitRate = 15'000'000;

// A caption character fills a cell of 2 x 3 macroblocks; its dots are 5 x 6
// pixels.
constexpr int kCellMbColumns = 2;
constexpr int kCellMbRows = 3;
constexpr int kDotWidth = 5;
constexpr int kDotHeight = 6;
constexpr int kDotLeft = 4;
constexpr int kDotTop = 3;

constexpr int kBarMbRows = 18;
constexpr int kCaptionMbRow = kBarMbRows;                        // three lines of text
constexpr int kClockMbRow = kCaptionMbRow + 3 * kCellMbRows;      // then the clock
constexpr int kGreyMbRow = kClockMbRow + kCellMbRows;             // then the grey scale
constexpr int kClockCells = 8;                                    // HH:MM:SS
constexpr int kClockMbColumn = (kMbColumns - kClockCells * kCellMbColumns) / 2;
constexpr char kClockCharacters[] = "0123456789:";

struct Colour {
  std::uint8_t y, cb, cr;
};
// 75% colour bars, in video levels.
constexpr Colour kBars[7] = {{180, 128, 128}, {162, 44, 142}, {131, 156, 44}, {112, 72, 58},
                             {84, 184, 198},  {65, 100, 212}, {35, 212, 114}};
constexpr Colour kBlack{16, 128, 128};
constexpr Colour kWhite{235, 128, 128};

void Fill(YuvPicture& picture, int x0, int y0, int x1, int y1, Colour colour) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) picture.Y(x, y) = colour.y;
  for (int y = y0 / 2; y < y1 / 2; ++y)
    for (int x = x0 / 2; x < x1 / 2; ++x) {
      picture.Cb(x, y) = colour.cb;
      picture.Cr(x, y) = colour.cr;
    }
}

// A character in the cell at macroblock column and row.
void DrawCharacter(YuvPicture& picture, char c, int mbColumn, int mbRow) {
  const auto rows = Glyph(c);
  const int left = mbColumn * mpeg2::kMacroblock + kDotLeft;
  const int top = mbRow * mpeg2::kMacroblock + kDotTop;
  for (int row = 0; row < kGlyphRows; ++row)
    for (int column = 0; column < kGlyphColumns; ++column)
      if (rows[row] >> (kGlyphColumns - 1 - column) & 1)
        for (int y = 0; y < kDotHeight; ++y)
          for (int x = 0; x < kDotWidth; ++x)
            picture.Y(left + column * kDotWidth + x, top + row * kDotHeight + y) = kWhite.y;
}

void DrawCentred(YuvPicture& picture, const std::string& text, int mbRow) {
  const std::string shown = text.substr(0, TestCard::kCaptionCharacters);
  const int first = (kMbColumns - static_cast<int>(shown.size()) * kCellMbColumns) / 2;
  for (std::size_t i = 0; i < shown.size(); ++i)
    DrawCharacter(picture, shown[i], first + static_cast<int>(i) * kCellMbColumns, mbRow);
}

void DrawClock(YuvPicture& picture, const std::string& clock) {
  for (int cell = 0; cell < kClockCells; ++cell)
    DrawCharacter(picture, clock[static_cast<std::size_t>(cell)], kClockMbColumn + cell * kCellMbColumns, kClockMbRow);
}

YuvPicture DrawBackground(const TestCardCaption& caption) {
  YuvPicture picture(TestCard::kWidth, TestCard::kHeight);
  // Bar edges on macroblock boundaries: flat blocks cost almost nothing.
  for (int bar = 0; bar < 7; ++bar) {
    const int x0 = (bar * kMbColumns / 7) * mpeg2::kMacroblock;
    const int x1 = ((bar + 1) * kMbColumns / 7) * mpeg2::kMacroblock;
    const int colour = ((bar + caption.barRotation) % 7 + 7) % 7;
    Fill(picture, x0, 0, x1, kBarMbRows * mpeg2::kMacroblock, kBars[colour]);
  }
  Fill(picture, 0, kCaptionMbRow * mpeg2::kMacroblock, TestCard::kWidth, kGreyMbRow * mpeg2::kMacroblock, kBlack);
  for (int line = 0; line < 3; ++line) DrawCentred(picture, caption.lines[line], kCaptionMbRow + line * kCellMbRows);
  constexpr int kSteps = 9;
  for (int step = 0; step < kSteps; ++step) {
    const auto level = static_cast<std::uint8_t>(16 + step * (235 - 16) / (kSteps - 1));
    Fill(picture, step * kMbColumns / kSteps * mpeg2::kMacroblock, kGreyMbRow * mpeg2::kMacroblock,
         (step + 1) * kMbColumns / kSteps * mpeg2::kMacroblock, TestCard::kHeight, {level, 128, 128});
  }
  return picture;
}

void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

mpeg2::TimeCode TimeCodeOf(std::uint64_t n) {
  const std::uint64_t seconds = n / TestCard::kFrameRate;
  return {static_cast<int>(seconds / 3600 % 24), static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
          static_cast<int>(n % TestCard::kFrameRate)};
}

}  // namespace

std::string TestCard::ClockText(std::uint64_t n) {
  const mpeg2::TimeCode t = TimeCodeOf(n);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hours, t.minutes, t.seconds);
  return text;
}

YuvPicture TestCard::Draw(const TestCardCaption& caption, std::uint64_t n) {
  YuvPicture picture = DrawBackground(caption);
  DrawClock(picture, ClockText(n));
  return picture;
}

TestCard::TestCard(const TestCardCaption& caption) {
  m_sequenceHeader = mpeg2::SequenceHeader(kWidth, kHeight, kAnnouncedBitRate);
  const YuvPicture background = DrawBackground(caption);
  for (int row = 0; row < kMbRows; ++row) {
    if (row >= kClockMbRow && row < kGreyMbRow) continue;
    Append(row < kClockMbRow ? m_above : m_below, mpeg2::IntraSlice(background, row, 0, kMbColumns, kQuantiserScaleCode));
  }
  // Each clock character coded in each cell, from a picture showing that
  // character in every cell.
  m_clockRows.resize(kCellMbRows);
  for (int r = 0; r < kCellMbRows; ++r) {
    const int row = kClockMbRow + r;
    ClockRow& clockRow = m_clockRows[static_cast<std::size_t>(r)];
    clockRow.left = mpeg2::IntraSlice(background, row, 0, kClockMbColumn, kQuantiserScaleCode);
    const int rightColumn = kClockMbColumn + kClockCells * kCellMbColumns;
    clockRow.right = mpeg2::IntraSlice(background, row, rightColumn, kMbColumns - rightColumn, kQuantiserScaleCode);
    clockRow.cells.resize(kClockCells);
  }
  for (std::size_t character = 0; character + 1 < sizeof kClockCharacters; ++character) {
    YuvPicture picture = background;
    DrawClock(picture, std::string(kClockCells, kClockCharacters[character]));
    for (int r = 0; r < kCellMbRows; ++r)
      for (int cell = 0; cell < kClockCells; ++cell)
        m_clockRows[static_cast<std::size_t>(r)].cells[static_cast<std::size_t>(cell)].push_back(mpeg2::IntraSlice(
            picture, kClockMbRow + r, kClockMbColumn + cell * kCellMbColumns, kCellMbColumns, kQuantiserScaleCode));
  }
  // The largest frame: every cell at its largest character.
  std::size_t largest = m_sequenceHeader.size() + mpeg2::GroupHeader({}).size() + mpeg2::IntraPictureHeader(0).size() +
                        m_above.size() + m_below.size();
  for (const ClockRow& row : m_clockRows) {
    largest += row.left.size() + row.right.size();
    for (const auto& cell : row.cells) {
      std::size_t cellLargest = 0;
      for (const auto& slice : cell) cellLargest = std::max(cellLargest, slice.size());
      largest += cellLargest;
    }
  }
  m_maxFrameBytes = largest;
}

void TestCard::RewriteFrameTime(std::uint64_t n, std::uint8_t* frame) const {
  const std::vector<std::uint8_t> group = mpeg2::GroupHeader(TimeCodeOf(n));
  std::copy(group.begin(), group.end(), frame + m_sequenceHeader.size());
}

void TestCard::AppendFrame(std::uint64_t n, std::vector<std::uint8_t>* out) const {
  const std::string clock = ClockText(n);
  Append(*out, m_sequenceHeader);
  Append(*out, mpeg2::GroupHeader(TimeCodeOf(n)));
  Append(*out, mpeg2::IntraPictureHeader(0));  // every frame is its own group
  Append(*out, m_above);
  for (const ClockRow& row : m_clockRows) {
    Append(*out, row.left);
    for (int cell = 0; cell < kClockCells; ++cell) {
      const std::size_t character =
          static_cast<std::size_t>(std::find(kClockCharacters, kClockCharacters + 11, clock[cell]) - kClockCharacters);
      Append(*out, row.cells[static_cast<std::size_t>(cell)][character]);
    }
    Append(*out, row.right);
  }
  Append(*out, m_below);
}

std::shared_ptr<const TestCard> TestCardFor(const TestCardCaption& caption) {
  // A few recent cards: retuning between a handful of carriers codes each once.
  static std::mutex mutex;
  static std::deque<std::pair<TestCardCaption, std::shared_ptr<const TestCard>>> recent;
  constexpr std::size_t kKept = 8;
  {
    std::lock_guard lock(mutex);
    for (const auto& [seen, card] : recent)
      if (seen == caption) return card;
  }
  auto card = std::make_shared<const TestCard>(caption);  // coded outside the lock
  std::lock_guard lock(mutex);
  recent.emplace_front(caption, card);
  if (recent.size() > kKept) recent.pop_back();
  return card;
}
