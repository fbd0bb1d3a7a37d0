#include "platform/com/guid.h"

#include <cstdio>

namespace {

int HexValue(wchar_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

template <typename Char>
std::optional<GUID> ParseGuidChars(std::basic_string_view<Char> text) {
  // {8-4-4-4-12}: 38 characters with the braces.
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
  std::uint8_t bytes[16];
  int byteIndex = 0;
  for (std::size_t i = 1; i < 37;) {
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      if (text[i] != '-') return std::nullopt;
      ++i;
      continue;
    }
    const int hi = HexValue(static_cast<wchar_t>(text[i]));
    const int lo = HexValue(static_cast<wchar_t>(text[i + 1]));
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes[byteIndex++] = static_cast<std::uint8_t>(hi * 16 + lo);
    i += 2;
  }
  GUID g{};
  g.Data1 = (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) | bytes[3];
  g.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
  g.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) g.Data4[i] = bytes[8 + i];
  return g;
}

}  // namespace

std::optional<GUID> ParseGuid(std::string_view text) { return ParseGuidChars(text); }
std::optional<GUID> ParseGuid(std::wstring_view text) { return ParseGuidChars(text); }

std::string FormatGuid(const GUID& g) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return buffer;
}

std::wstring FormatGuidWide(const GUID& g) {
  const std::string narrow = FormatGuid(g);
  return std::wstring(narrow.begin(), narrow.end());
}

std::size_t GuidHash::operator()(const GUID& g) const noexcept {
  std::size_t h = g.Data1;
  h = h * 31 + g.Data2;
  h = h * 31 + g.Data3;
  for (auto b : g.Data4) h = h * 31 + b;
  return h;
}
