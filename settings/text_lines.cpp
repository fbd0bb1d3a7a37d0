#include "settings/text_lines.h"

std::vector<TextLine> SplitTextLines(std::string_view text) {
  std::vector<TextLine> lines;
  size_t begin = text.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  while (begin < text.size()) {
    const size_t contentEnd = text.find_first_of("\r\n", begin);
    if (contentEnd == std::string_view::npos) {
      lines.push_back({begin, text.size(), text.size()});
      break;
    }
    size_t end = contentEnd + 1;
    if (text[contentEnd] == '\r' && end < text.size() && text[end] == '\n') ++end;
    lines.push_back({begin, contentEnd, end});
    begin = end;
  }
  return lines;
}

std::string_view FirstLineBreakOf(std::string_view text) {
  const size_t at = text.find_first_of("\r\n");
  if (at == std::string_view::npos || text[at] == '\n') return "\n";
  return text.substr(at + 1).starts_with('\n') ? "\r\n" : "\r";
}
