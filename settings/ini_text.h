#pragma once
// Pure text operations on the contents of one INI file, following the
// private-profile rules the settings and satellite files were written with:
//   - section and key names compare case-insensitively (ASCII), after the
//     blanks (spaces, tabs) around them are trimmed;
//   - a line whose first non-blank character is '[' and that holds a ']' is a
//     section header; every other non-blank line is a key line, "name=value"
//     or a bare name (there is no comment syntax: ";x=1" is the key ";x");
//   - lines before the first header belong to no section;
//   - the first of duplicate sections, and within it the first of duplicate
//     keys, is the one read and the one replaced;
//   - a value is trimmed of blanks and loses one pair of matching single or
//     double quotes around it;
//   - LF, CRLF and lone CR line endings read the same, also mixed in one
//     text, and a UTF-8 byte-order mark at the start belongs to no line
//     (text_lines.h); both stay as they are when a value is written.
// No I/O here: CIniFile does the file handling.

#include <optional>
#include <string>
#include <string_view>

// The value of `key` in `section`, trimmed and unquoted, or nothing when the
// section or key is missing. A key line without '=' has the empty value.
std::optional<std::string> FindIniValue(std::string_view text, std::string_view section,
                                        std::string_view key);

// True when the names and value can be stored without changing the file's
// structure: no line breaks anywhere, a non-empty key without '=' that does
// not start with '[', a section name without ']'.
bool IsStorableIniEntry(std::string_view section, std::string_view key, std::string_view value);

// `text` with `key` of `section` set to `value`. An existing key line keeps
// everything up to its value (name spelling, blanks, line ending) and gets
// the new value; a new key goes right after the last key line of its
// section; a missing section is appended at the end of the text. New lines
// use the text's own line ending (that of its first line break; LF when it
// has none). Every byte not named here is kept. The entry must satisfy
// IsStorableIniEntry.
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);
