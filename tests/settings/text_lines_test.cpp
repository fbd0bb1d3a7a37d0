#include "settings/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Contents(std::string_view text) {
  std::vector<std::string> contents;
  for (const TextLine& line : SplitTextLines(text))
    contents.emplace_back(text.substr(line.begin, line.contentEnd - line.begin));
  return contents;
}

TEST(TextLines, EveryLineBreakConventionAndTheByteOrderMark) {
  using Lines = std::vector<std::string>;
  const struct {
    std::string text;
    Lines lines;
    std::string_view firstBreak;
  } cases[] = {
      {"", {}, "\n"},
      {"\xEF\xBB\xBF", {}, "\n"},
      {"a", {"a"}, "\n"},
      {"a\nb\n", {"a", "b"}, "\n"},
      {"a\r\nb\r\n", {"a", "b"}, "\r\n"},
      {"a\rb\r", {"a", "b"}, "\r"},
      {"\xEF\xBB\xBF" "a\r\n\r\nb", {"a", "", "b"}, "\r\n"},
      {"a\r\rb\n\rc", {"a", "", "b", "", "c"}, "\r"},
      {"a\n\r\nb\rc\r\n", {"a", "", "b", "c"}, "\n"},
      {"x\xEF\xBB\xBF\n", {"x\xEF\xBB\xBF"}, "\n"},  // only a leading mark is dropped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Contents(c.text), c.lines) << testing::PrintToString(c.text);
    EXPECT_EQ(FirstLineBreakOf(c.text), c.firstBreak) << testing::PrintToString(c.text);
  }
}

TEST(TextLines, BreaksAreKeptBetweenLines) {
  const std::string text = "a\r\nb\rc\n";
  const std::vector<TextLine> lines = SplitTextLines(text);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(text.substr(lines[0].contentEnd, lines[0].end - lines[0].contentEnd), "\r\n");
  EXPECT_EQ(text.substr(lines[1].contentEnd, lines[1].end - lines[1].contentEnd), "\r");
  EXPECT_EQ(lines[2].end, text.size());
}

}  // namespace
