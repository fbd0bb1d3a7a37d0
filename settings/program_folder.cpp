#include "settings/program_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
std::string& Folder() {
  static std::string folder;
  return folder;
}
std::string& Shipped() {
  static std::string folder;
  return folder;
}
bool Exists(const std::string& path) {
  struct stat info{};
  return ::stat(path.c_str(), &info) == 0;
}
}  // namespace

std::string FolderOfPath(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(0, slash);
}

const std::string& ProgramFolder() { return Folder(); }
void SetProgramFolder(std::string folder) { Folder() = std::move(folder); }

bool EnsureDataFolder(const std::string& folder, std::string* error) {
  if (folder.empty()) {
    *error = "no folder for the settings: HOME is not set; give --data-dir DIR";
    return false;
  }
  // Each missing component in turn, so the new ones get 0700 and not the umask's mode.
  for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      *error = "--data-dir: cannot create " + part + ": " + std::strerror(errno);
      return false;
    }
    if (end == std::string::npos) break;
  }
  struct stat info{};
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    *error = "--data-dir: " + folder + " is not a folder";
    return false;
  }
  return true;
}

const std::string& ShippedDataFolder() { return Shipped(); }
void SetShippedDataFolder(std::string folder) { Shipped() = std::move(folder); }

std::string DefaultDataFolder(const std::string& executableFolder) {
  if (Exists(executableFolder + "/CityList.txt")) return executableFolder;
  // Relative values are to be ignored (XDG Base Directory).
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/rx40-tessel";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config/rx40-tessel";
  return {};
}

std::string ShippedDataFolderFor(const std::string& executableFolder) {
  if (Exists(executableFolder + "/CityList.txt")) return executableFolder;
  return FolderOfPath(executableFolder) + "/share/rx40-tessel";
}

std::string ProgramFile(const std::string& name) {
  const std::string own = ProgramFolder() + "/" + name;
  if (Exists(own) || Shipped().empty()) return own;
  const std::string shipped = Shipped() + "/" + name;
  return Exists(shipped) ? shipped : own;
}
