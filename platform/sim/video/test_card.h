// The simulated programme's picture: a 720 x 576 test card of colour bars,
// three caption lines naming what the card receives, a running clock of the
// stream's time and a grey scale. It is coded once, as intra-only MPEG-2,
// when made; each 25 Hz frame is then put together from the coded slices,
// the clock's digits picked by the frame's time, for the cost of a copy.
//
// Immutable once made; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/video/yuv_picture.h"

struct TestCardCaption {
  std::array<std::string, 3> lines;
  int barRotation = 0;  // the colour the first bar shows: tells streams apart at a glance
  bool operator==(const TestCardCaption&) const = default;
};

class TestCard {
 public:
  static constexpr int kWidth = 720;
  static constexpr int kHeight = 576;
  static constexpr int kFrameRate = 25;
  static constexpr int kCaptionCharacters = 22;  // longer lines are cut

  explicit TestCard(const TestCardCaption& caption);

  // Appends the coded frame shown at frame n (n / 25 seconds into the stream).
  void AppendFrame(std::uint64_t n, std::vector<std::uint8_t>* out) const;
  // Turns a frame appended for another frame of the same second (the same
  // clock) into frame n's, in place: only its time code differs.
  void RewriteFrameTime(std::uint64_t n, std::uint8_t* frame) const;
  // The largest coded frame, in bytes.
  std::size_t MaxFrameBytes() const { return m_maxFrameBytes; }

  // The picture frame n shows, as drawn before coding.
  static YuvPicture Draw(const TestCardCaption& caption, std::uint64_t n);
  // "HH:MM:SS" of frame n.
  static std::string ClockText(std::uint64_t n);

 private:
  std::vector<std::uint8_t> m_sequenceHeader;
  std::vector<std::uint8_t> m_above;  // the coded rows above the clock
  std::vector<std::uint8_t> m_below;  // and below it
  // Per clock macroblock row: the slices left and right of the clock, and
  // one slice per clock cell and character ("0123456789:").
  struct ClockRow {
    std::vector<std::uint8_t> left, right;
    std::vector<std::vector<std::vector<std::uint8_t>>> cells;  // [cell][character]
  };
  std::vector<ClockRow> m_clockRows;
  std::size_t m_maxFrameBytes = 0;
};

// The coded test card of a caption, shared: a caption seen before is not
// coded again.
std::shared_ptr<const TestCard> TestCardFor(const TestCardCaption& caption);
