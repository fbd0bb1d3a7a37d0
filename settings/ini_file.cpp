#include "settings/ini_file.h"

#include <cerrno>
#include <utility>

#include "settings/file_contents.h"
#include "settings/ini_text.h"

namespace {

// Cuts to at most `limit` bytes without splitting a UTF-8 sequence.
std::string CutToLength(std::string value, size_t limit) {
  if (value.size() <= limit) return value;
  size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
  value.resize(cut);
  return value;
}

}  // namespace

CIniFile::CIniFile(std::string path) : m_strPath(std::move(path)) {}

std::string CIniFile::GetValue(const std::string& section, const std::string& key) const {
  std::string text;
  if (ReadFileContents(m_strPath, text) != 0) return {};
  return CutToLength(FindIniValue(text, section, key).value_or(""), kMaxValueLength);
}

int CIniFile::SetValue(const std::string& section, const std::string& key, const std::string& value) {
  if (!IsStorableIniEntry(section, key, value)) return EINVAL;
  return SetValues(section, {{key, value}});
}

int CIniFile::SetValues(const std::string& section,
                        const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string text;
  const int readError = ReadFileContents(m_strPath, text);
  // Never rewrite a file whose current contents could not be read.
  if (readError != 0 && readError != ENOENT) return readError;
  bool skipped = false;
  for (const auto& [key, value] : entries) {
    if (IsStorableIniEntry(section, key, value)) text = WithIniValue(text, section, key, value);
    else skipped = true;
  }
  if (const int error = ReplaceFileContents(m_strPath, text)) return error;
  return skipped ? EINVAL : 0;
}
