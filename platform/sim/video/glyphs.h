// A 5 x 7 dot font for the test card's captions: digits, capital letters
// (small ones are shown as capitals) and a little punctuation; any other
// character shows as '?'.
#pragma once

#include <array>
#include <cstdint>

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;

// Seven rows, top first; bit 4 is the leftmost dot.
std::array<std::uint8_t, kGlyphRows> Glyph(char c);
