// The simulated card's FILE: INI text with [sections] and key = value lines.
// ';' or '#' at the start of a line begins a comment. Names are
// case-insensitive (kept lower-case); values keep their case.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct IniEntry {
  std::string key;
  std::string value;
  int line;
};

struct IniSection {
  std::string name;
  int line;
  std::vector<IniEntry> entries;
};

struct IniDocument {
  std::vector<IniSection> sections;
};

// Parses text; on a malformed line returns none and sets error to
// "line N: reason".
std::optional<IniDocument> ParseIni(const std::string& text, std::string* error);
// Reads and parses a file; the error names the file.
std::optional<IniDocument> ReadIniFile(const std::string& path, std::string* error);

}  // namespace sim
