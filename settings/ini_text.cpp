#include "settings/ini_text.h"

#include <vector>

#include "settings/text_lines.h"

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

using Line = TextLine;

std::vector<Line> SplitLines(std::string_view text) { return SplitTextLines(text); }

enum class LineKind { Blank, Section, Key };

struct ParsedLine {
  LineKind kind = LineKind::Blank;
  std::string_view name;  // section or key name, trimmed
  size_t valueOffset = 0; // offset of the raw value in the content (Key only)
  bool hasEquals = false;
};

ParsedLine ParseLine(std::string_view content) {
  const std::string_view trimmed = Trim(content);
  if (trimmed.empty()) return {};
  if (trimmed.front() == '[') {
    const size_t close = trimmed.find(']');
    if (close != std::string_view::npos) {
      return {LineKind::Section, Trim(trimmed.substr(1, close - 1)), 0, false};
    }
  }
  const size_t equals = content.find('=');
  if (equals == std::string_view::npos) {
    return {LineKind::Key, trimmed, content.size(), false};
  }
  size_t valueOffset = content.find_first_not_of(kBlanks, equals + 1);
  if (valueOffset == std::string_view::npos) valueOffset = content.size();
  return {LineKind::Key, Trim(content.substr(0, equals)), valueOffset, true};
}

// Where a section and key sit in the text; indices into the line list.
struct Location {
  std::optional<size_t> header;
  std::optional<size_t> lastKeyLine;
  std::optional<size_t> keyLine;
};

Location Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
                std::string_view key) {
  const std::string_view wantedSection = Trim(section);
  const std::string_view wantedKey = Trim(key);
  Location where;
  bool inside = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view content =
        text.substr(lines[i].begin, lines[i].contentEnd - lines[i].begin);
    const ParsedLine parsed = ParseLine(content);
    if (parsed.kind == LineKind::Section) {
      if (inside) break;  // the first matching section has ended
      inside = SameName(parsed.name, wantedSection);
      if (inside) where.header = i;
    } else if (parsed.kind == LineKind::Key && inside) {
      where.lastKeyLine = i;
      if (!where.keyLine && SameName(parsed.name, wantedKey)) where.keyLine = i;
    }
  }
  return where;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view LineEndingOf(std::string_view text) { return FirstLineBreakOf(text); }

std::string KeyLineText(std::string_view key, std::string_view value) {
  std::string line(Trim(key));
  line += '=';
  line += value;
  return line;
}

}  // namespace

std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
  const std::vector<Line> lines = SplitLines(text);
  const Location where = Locate(text, lines, section, key);
  if (!where.keyLine) return std::nullopt;
  const Line& line = lines[*where.keyLine];
  const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
  const ParsedLine parsed = ParseLine(content);
  return std::string(Unquote(Trim(content.substr(parsed.valueOffset))));
}

bool IsStorableIniEntry(std::string_view section, std::string_view key, std::string_view value) {
  constexpr std::string_view kBreaks = "\r\n";
  const std::string_view trimmedKey = Trim(key);
  return section.find_first_of(kBreaks) == std::string_view::npos &&
         section.find(']') == std::string_view::npos &&
         key.find_first_of(kBreaks) == std::string_view::npos && !trimmedKey.empty() &&
         trimmedKey.front() != '[' && key.find('=') == std::string_view::npos &&
         value.find_first_of(kBreaks) == std::string_view::npos;
}

std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
  const std::vector<Line> lines = SplitLines(text);
  const Location where = Locate(text, lines, section, key);
  const std::string_view eol = LineEndingOf(text);
  std::string result(text);

  if (where.keyLine) {
    const Line& line = lines[*where.keyLine];
    const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
    const ParsedLine parsed = ParseLine(content);
    if (parsed.hasEquals) {
      result.replace(line.begin + parsed.valueOffset, content.size() - parsed.valueOffset, value);
    } else {
      result.replace(line.begin, content.size(), KeyLineText(key, value));
    }
    return result;
  }

  if (where.header) {
    const Line& after = lines[where.lastKeyLine.value_or(*where.header)];
    if (after.end == after.contentEnd) {  // last line of the text, no break yet
      result.insert(after.end, std::string(eol) + KeyLineText(key, value));
    } else {
      result.insert(after.end, KeyLineText(key, value) + std::string(eol));
    }
    return result;
  }

  if (!lines.empty() && lines.back().end == lines.back().contentEnd) result += eol;
  result += '[';
  result += Trim(section);
  result += ']';
  result += eol;
  result += KeyLineText(key, value);
  result += eol;
  return result;
}
