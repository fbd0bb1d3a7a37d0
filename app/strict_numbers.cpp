#include "app/strict_numbers.h"

#include <charconv>
#include <cmath>

std::optional<std::int64_t> StrictInteger(const std::string& text, std::int64_t low, std::int64_t high) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return std::nullopt;
  // "010" is ten here, as a person means it, not eight.
  return value;
}

std::optional<double> StrictDecimal(const std::string& text) {
  double value = 0;
  const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), value, std::chars_format::fixed);
  if (begin == text.data() + text.size() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}
