#include "tuner/text_numbers.h"

#include <cctype>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <locale.h>

int AtoiText(const std::string& text) {
  // strtol saturates instead of overflowing, which atoi may not.
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

double AtofText(const std::string& text) {
  // The toolkit sets the user's locale, whose decimal separator may be ','.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return strtod_l(text.c_str(), nullptr, cLocale);
}

unsigned long HexText(const std::string& text) { return std::strtoul(text.c_str(), nullptr, 16); }

MotorMessage ParseMotorMessage(const std::array<std::string, 5>& texts) {
  MotorMessage message{};
  bool counting = true;
  for (size_t i = 0; i < texts.size(); ++i) {
    message.bytes[i] = static_cast<uint8_t>(HexText(texts[i]) & 0xFF);
    if (message.bytes[i] == 0) counting = false;
    if (counting) ++message.length;
  }
  return message;
}

std::optional<double> PlainDecimal(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  std::size_t i = begin;
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < end && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < end && text[i] == '.') {
    ++i;
    while (i < end && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0 || i != end) return std::nullopt;
  return AtofText(text.substr(begin, end - begin));
}
