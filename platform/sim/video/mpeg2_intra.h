// A small intra-only MPEG-2 video encoder (Main Profile at Main Level,
// progressive 4:2:0 frames, 25 Hz), enough to code a still test picture:
// the headers of a frame, and slices that are coded on their own so that a
// frame can be put together from slices coded once (a slice resets every
// prediction). Coefficients use the standard's first coefficient table with
// escapes for the rest; the quantiser is fixed per slice.
//
// Pure functions; any thread.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sim/video/yuv_picture.h"

namespace mpeg2 {

constexpr int kMacroblock = 16;

struct TimeCode {
  int hours = 0, minutes = 0, seconds = 0, pictures = 0;
};

// Sequence header and sequence extension: size, 4:3, 25 Hz, the bit rate
// announced (rounded up to 400 bit/s), no quantiser matrices of our own.
std::vector<std::uint8_t> SequenceHeader(int width, int height, std::uint32_t bitRate);
// A closed group of pictures starting at time.
std::vector<std::uint8_t> GroupHeader(const TimeCode& time);
// An intra picture: picture header and picture coding extension (frame
// picture, progressive, intra DC precision 8 bits, zigzag scan).
std::vector<std::uint8_t> IntraPictureHeader(int temporalReference);
// One slice over macroblocks [firstColumn, firstColumn + count) of
// macroblock row `row`, from its start code to its last byte (zero-padded).
// quantiserScaleCode 1 to 31 (linear scale: twice the code).
std::vector<std::uint8_t> IntraSlice(const YuvPicture& picture, int row, int firstColumn, int count,
                                     int quantiserScaleCode);

}  // namespace mpeg2
