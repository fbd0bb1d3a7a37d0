#include "platform/media/tuning/tuning_space_store.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/com/guid.h"

namespace tuning {
namespace {

constexpr int kFieldCount = 11;

std::mutex g_pathMutex;
std::string g_pathOverride;

// Names are kept as UTF-8; tabs and line breaks cannot be stored and are
// turned into blanks.
std::string ToText(const std::wstring& w) {
  std::string out;
  for (wchar_t c : w) {
    const auto u = static_cast<char32_t>(c);
    if (u == '\t' || u == '\n' || u == '\r') out += ' ';
    else if (u < 0x80) out += static_cast<char>(u);
    else if (u < 0x800) { out += static_cast<char>(0xC0 | (u >> 6)); out += static_cast<char>(0x80 | (u & 0x3F)); }
    else if (u < 0x10000) { out += static_cast<char>(0xE0 | (u >> 12)); out += static_cast<char>(0x80 | ((u >> 6) & 0x3F)); out += static_cast<char>(0x80 | (u & 0x3F)); }
    else { out += static_cast<char>(0xF0 | (u >> 18)); out += static_cast<char>(0x80 | ((u >> 12) & 0x3F)); out += static_cast<char>(0x80 | ((u >> 6) & 0x3F)); out += static_cast<char>(0x80 | (u & 0x3F)); }
  }
  return out;
}

std::wstring FromText(const std::string& s) {
  std::wstring out;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t u = extra == 0 ? c : c & (0x3F >> extra);
    ++i;
    for (; extra > 0 && i < s.size(); --extra, ++i) u = (u << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    out += static_cast<wchar_t>(u);
  }
  return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const auto tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

bool ParseLong(const std::string& text, LONG* out) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0) return false;
  *out = static_cast<LONG>(value);
  return true;
}

}  // namespace

std::string DefaultTuningSpaceStorePath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
  else base = "/tmp";
  return base + "/rx40-tessel/tuning-spaces.txt";
}

void SetTuningSpaceStorePath(std::string path) {
  std::lock_guard lock(g_pathMutex);
  g_pathOverride = std::move(path);
}

std::string TuningSpaceStorePath() {
  std::lock_guard lock(g_pathMutex);
  return g_pathOverride.empty() ? DefaultTuningSpaceStorePath() : g_pathOverride;
}

std::vector<DvbsTuningSpaceValues> LoadTuningSpaces(const std::string& path) {
  std::vector<DvbsTuningSpaceValues> spaces;
  std::ifstream file(path);
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (line.empty()) continue;
    const auto f = SplitTabs(line);
    DvbsTuningSpaceValues v;
    LONG systemType = 0, inversion = 0;
    const auto networkType = ParseGuid(f.size() > 2 ? f[2] : "");
    if (f.size() != kFieldCount || !networkType || !ParseLong(f[3], &systemType) || !ParseLong(f[5], &v.networkId) ||
        !ParseLong(f[6], &v.lowOscillator) || !ParseLong(f[7], &v.highOscillator) || !ParseLong(f[8], &v.lnbSwitch) ||
        !ParseLong(f[10], &inversion)) {
      std::fprintf(stderr, "tuning space store %s: line %d cannot be read; skipped\n", path.c_str(), number);
      continue;
    }
    v.uniqueName = FromText(f[0]);
    v.friendlyName = FromText(f[1]);
    v.networkType = *networkType;
    v.systemType = static_cast<DVBSystemType>(systemType);
    v.frequencyMapping = FromText(f[4]);
    v.inputRange = FromText(f[9]);
    v.spectralInversion = static_cast<SpectralInversion>(inversion);
    spaces.push_back(std::move(v));
  }
  return spaces;
}

int SaveTuningSpaces(const std::string& path, const std::vector<DvbsTuningSpaceValues>& spaces) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  if (error) return error.value();
  const std::string temporary = path + ".new";
  {
    std::ofstream file(temporary, std::ios::trunc);
    for (const auto& v : spaces)
      file << ToText(v.uniqueName) << '\t' << ToText(v.friendlyName) << '\t' << FormatGuid(v.networkType) << '\t'
           << static_cast<int>(v.systemType) << '\t' << ToText(v.frequencyMapping) << '\t' << v.networkId << '\t'
           << v.lowOscillator << '\t' << v.highOscillator << '\t' << v.lnbSwitch << '\t' << ToText(v.inputRange) << '\t'
           << static_cast<int>(v.spectralInversion) << '\n';
    file.flush();
    if (!file) {
      const int saved = errno ? errno : EIO;
      std::filesystem::remove(temporary, error);
      return saved;
    }
  }
  std::filesystem::rename(temporary, path, error);
  return error ? error.value() : 0;
}

}  // namespace tuning
