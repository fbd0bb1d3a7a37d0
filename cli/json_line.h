// One JSON object on one line, built member by member in the order added,
// for rx40ctl's --json output. Texts are escaped; bytes that are not UTF-8
// (a file name in another encoding) become U+FFFD, so every line parses.
// Numbers that are not finite are written as null.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class JsonObject {
 public:
  JsonObject& Text(std::string_view key, std::string_view value);
  JsonObject& Integer(std::string_view key, std::int64_t value);
  // With `decimals` digits after the point.
  JsonObject& Real(std::string_view key, double value, int decimals);
  JsonObject& Bool(std::string_view key, bool value);
  JsonObject& Null(std::string_view key);
  JsonObject& Object(std::string_view key, const JsonObject& value);
  // Every member of other, after those already here.
  JsonObject& Append(const JsonObject& other);

  // "{...}", without a newline.
  std::string Line() const;

 private:
  void Key(std::string_view key);
  std::string m_members;
};

// value as a JSON string, quotes included.
std::string JsonString(std::string_view value);
