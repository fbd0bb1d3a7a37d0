#include "positioner/satellite_list.h"

#include <filesystem>

#include "positioner/list_text.h"
#include "settings/ini_file.h"

namespace {

bool HasIniExtension(const std::string& name) {
  if (name.size() < 4) return false;
  const std::string tail = name.substr(name.size() - 4);
  return tail[0] == '.' && (tail[1] | 0x20) == 'i' && (tail[2] | 0x20) == 'n' && (tail[3] | 0x20) == 'i';
}

}  // namespace

std::string TransponderFolder(const std::string& programFolder) {
  return programFolder + "/" + kTransponderFolderName;
}

std::vector<std::string> SatelliteFileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().string();
    std::error_code ignored;
    if (HasIniExtension(name) && entries->is_regular_file(ignored)) names.push_back(name);
  }
  return names;
}

std::string SatelliteEntryText(const std::string& path) {
  const CIniFile file(path);
  return ListTextToUtf8(file.GetValue(kSatelliteSection, "1") + "  " + file.GetValue(kSatelliteSection, "2"));
}

std::vector<std::string> SatelliteEntries(const std::string& folder) {
  std::vector<std::string> entries;
  for (const std::string& name : SatelliteFileNames(folder)) entries.push_back(SatelliteEntryText(folder + "/" + name));
  return entries;
}
