#pragma once
// Line structure of the text files the program reads (settings, satellite
// files, the city list), which may come from any system: a UTF-8 byte-order
// mark at the start is not part of the first line, and LF, CRLF and a lone
// CR all end a line, mixed freely within one file.

#include <cstddef>
#include <string_view>
#include <vector>

// One physical line: [begin, contentEnd) is its text without the line
// break, [contentEnd, end) the break itself ("\n", "\r\n", "\r", or nothing
// at the end of the text).
struct TextLine {
  size_t begin;
  size_t contentEnd;
  size_t end;
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The lines of `text`, in order. A text that ends with a line break has no
// empty line after it; an empty text (or a lone byte-order mark) has none.
std::vector<TextLine> SplitTextLines(std::string_view text);

// The line break `text` uses: that of its first line break, "\n" when it
// has none.
std::string_view FirstLineBreakOf(std::string_view text);
