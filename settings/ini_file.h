#pragma once
// CIniFile: names one INI file and reads or writes single keys of it. Holds
// only the path; every call goes to the file, nothing is cached. The text
// rules (case, blanks, quotes, duplicates, line endings) are in ini_text.h.
// Not thread-safe against other writers of the same file.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class CIniFile {
 public:
  // Values are read through a 260-byte buffer: at most 259 characters.
  static constexpr size_t kMaxValueLength = 259;

  explicit CIniFile(std::string path);

  const std::string& Path() const { return m_strPath; }

  // The value of `key` in `section`, or "" when the file, the section or
  // the key is missing or the file cannot be read.
  std::string GetValue(const std::string& section, const std::string& key) const;

  // Writes `key`=`value` into `section`, creating the file and the section
  // when missing. Returns 0, or the errno of the failure: EINVAL for a
  // section, key or value that would break the file's line structure (line
  // breaks, '=' in a key, ']' in a section), otherwise the failing system
  // call's error. A failed write leaves the file as it was.
  int SetValue(const std::string& section, const std::string& key, const std::string& value);

  // Writes every key=value pair into `section` in one replacement of the
  // file, so a crash leaves either all old or all new values. Entries that
  // cannot be stored are skipped (the others are written) and make the
  // result EINVAL; a failure of the file itself leaves it as it was.
  int SetValues(const std::string& section, const std::vector<std::pair<std::string, std::string>>& entries);

 private:
  std::string m_strPath;
};
