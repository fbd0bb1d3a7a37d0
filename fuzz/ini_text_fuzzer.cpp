// The INI text rules of the settings and satellite files on any text: a
// value written is the value read back, and writing one key changes no
// other key's value.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz/fuzz_support.h"
#include "settings/ini_text.h"

namespace {

std::string_view TrimBlanks(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// What reading gives back for a stored value: blanks trimmed, one pair of
// matching quotes removed.
std::string ReadBack(std::string_view value) {
  value = TrimBlanks(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool SameName(std::string_view a, std::string_view b) {
  a = TrimBlanks(a);
  b = TrimBlanks(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

using fuzz::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(32);
  const std::string key = input.ConsumeRandomLengthString(32);
  const std::string value = input.ConsumeRandomLengthString(64);
  const std::string otherSection = input.ConsumeRandomLengthString(32);
  const std::string otherKey = input.ConsumeRandomLengthString(32);
  const std::string text = input.ConsumeRemainingBytesAsString();

  const auto before = FindIniValue(text, otherSection, otherKey);
  if (!IsStorableIniEntry(section, key, value)) return 0;

  const std::string written = WithIniValue(text, section, key, value);
  Check(FindIniValue(written, section, key) == ReadBack(value));
  if (!(SameName(section, otherSection) && SameName(key, otherKey))) {
    Check(FindIniValue(written, otherSection, otherKey) == before);
  }
  return 0;
}
