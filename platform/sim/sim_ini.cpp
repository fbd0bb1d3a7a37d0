#include "platform/sim/sim_ini.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace sim {
namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

}  // namespace

std::optional<IniDocument> ParseIni(const std::string& text, std::string* error) {
  IniDocument document;
  std::istringstream input(text);
  std::string raw;
  for (int line = 1; std::getline(input, raw); ++line) {
    const std::string s = Trim(raw);
    if (s.empty() || s[0] == ';' || s[0] == '#') continue;
    if (s[0] == '[') {
      if (s.back() != ']' || s.size() < 3) {
        *error = "line " + std::to_string(line) + ": a section header is written [name]";
        return std::nullopt;
      }
      document.sections.push_back({Lower(Trim(s.substr(1, s.size() - 2))), line, {}});
      continue;
    }
    const auto equals = s.find('=');
    if (equals == std::string::npos || equals == 0) {
      *error = "line " + std::to_string(line) + ": expected key = value";
      return std::nullopt;
    }
    if (document.sections.empty()) {
      *error = "line " + std::to_string(line) + ": key outside any [section]";
      return std::nullopt;
    }
    document.sections.back().entries.push_back({Lower(Trim(s.substr(0, equals))), Trim(s.substr(equals + 1)), line});
  }
  return document;
}

std::optional<IniDocument> ReadIniFile(const std::string& path, std::string* error) {
  std::ifstream file(path);
  if (!file) {
    *error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  std::stringstream content;
  content << file.rdbuf();
  auto document = ParseIni(content.str(), error);
  if (!document) *error = path + ": " + *error;
  return document;
}

}  // namespace sim
