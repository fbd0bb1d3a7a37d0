#include "tuner/text_numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <vector>

namespace {

TEST(AtoiText, ReadsLeadingDecimalNumber) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"11362", 11362},  {"  42", 42},           {"\t-1", -1},          {"+7", 7},
      {"12abc", 12},     {"abc", 0},             {"", 0},               {"- 5", 0},
      {"0x10", 0},       {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
      {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(AtoiText(text), expected) << '"' << text << '"';
}

TEST(AtofText, ReadsLeadingNumberInEveryLocale) {
  // A locale with a decimal comma, as the toolkit may set from the environment.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const bool commaLocale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  const std::vector<std::pair<std::string, double>> cases = {
      {"51.5", 51.5},  {"  -0.1", -0.1}, {"+13", 13.0},   {"0130", 130.0}, {"19.2", 19.2},
      {"1e2x", 100.0}, {"12,5", 12.0},   {"abc", 0.0},    {"", 0.0},       {".5", 0.5},
      {"- 5", 0.0},    {"0x10", 16.0},   {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}, {"inf", HUGE_VAL},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(AtofText(text), expected) << '"' << text << '"';
  EXPECT_TRUE(std::isnan(AtofText("nan")));
  EXPECT_TRUE(std::isnan(AtofText(" -NaN(1)")));
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!commaLocale) GTEST_LOG_(INFO) << "no de_DE locale here: checked in the C locale only";
}

TEST(HexText, ReadsLeadingHexNumber) {
  const std::vector<std::pair<std::string, unsigned long>> cases = {
      {"0xe0", 0xE0},  {"0XE0", 0xE0}, {"e0", 0xE0},   {"  31", 0x31}, {"6b", 0x6B},
      {"0x", 0},       {"", 0},        {"zz", 0},      {"1g", 1},      {"0x0", 0},
      {"ffffffffffffffffff", ULONG_MAX},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(HexText(text), expected) << '"' << text << '"';
}

struct MotorCase {
  std::array<std::string, 5> texts;
  std::vector<uint8_t> message;
};

TEST(ParseMotorMessage, CountsBytesUpToTheFirstZero) {
  const MotorCase cases[] = {
      {{"0xe0", "0x31", "0x0", "0x0", "0x0"}, {0xE0, 0x31}},
      {{"e0", "31", "6b", "01", ""}, {0xE0, 0x31, 0x6B, 0x01}},
      {{"e0", "0", "60", "", ""}, {0xE0}},
      {{"e0", "31", "6e", "1", "2"}, {0xE0, 0x31, 0x6E, 0x01, 0x02}},
      {{"", "31", "6e", "1", "2"}, {}},
      {{"0x1e0", "x", "", "", ""}, {0xE0}},  // low 8 bits; junk reads 0
      {{"100", "31", "", "", ""}, {}},        // 0x100 has a zero low byte
  };
  for (const auto& c : cases) {
    const MotorMessage parsed = ParseMotorMessage(c.texts);
    ASSERT_EQ(parsed.length, static_cast<int>(c.message.size())) << c.texts[0];
    EXPECT_EQ(std::vector<uint8_t>(parsed.bytes, parsed.bytes + parsed.length), c.message);
  }
}

}  // namespace
