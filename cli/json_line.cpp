#include "cli/json_line.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr char kReplacement[] = "\\ufffd";

// The length of the UTF-8 sequence starting at text[at], or 0 when the
// bytes there are not one (overlong forms, surrogates and values past
// U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  std::size_t length = 0;
  std::uint32_t low = 0;
  std::uint32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, low = 0x80, value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, low = 0x800, value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, low = 0x10000, value = lead & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < low || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string JsonString(std::string_view value) {
  std::string out = "\"";
  for (std::size_t i = 0; i < value.size();) {
    const auto c = static_cast<unsigned char>(value[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(value, i);
      if (length == 0) {
        out += kReplacement;
        ++i;
      } else {
        out.append(value.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  return out + "\"";
}

void JsonObject::Key(std::string_view key) {
  if (!m_members.empty()) m_members += ',';
  m_members += JsonString(key);
  m_members += ':';
}

JsonObject& JsonObject::Text(std::string_view key, std::string_view value) {
  Key(key);
  m_members += JsonString(value);
  return *this;
}

JsonObject& JsonObject::Integer(std::string_view key, std::int64_t value) {
  Key(key);
  m_members += std::to_string(value);
  return *this;
}

JsonObject& JsonObject::Real(std::string_view key, double value, int decimals) {
  if (!std::isfinite(value)) return Null(key);
  Key(key);
  // Whatever the process's locale: JSON's decimal point is a point.
  char text[400];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  m_members.append(text, written.ptr);
  return *this;
}

JsonObject& JsonObject::Bool(std::string_view key, bool value) {
  Key(key);
  m_members += value ? "true" : "false";
  return *this;
}

JsonObject& JsonObject::Null(std::string_view key) {
  Key(key);
  m_members += "null";
  return *this;
}

JsonObject& JsonObject::Object(std::string_view key, const JsonObject& value) {
  Key(key);
  m_members += value.Line();
  return *this;
}

JsonObject& JsonObject::Append(const JsonObject& other) {
  if (!m_members.empty() && !other.m_members.empty()) m_members += ',';
  m_members += other.m_members;
  return *this;
}

std::string JsonObject::Line() const { return "{" + m_members + "}"; }
