#include "settings/program_folder.h"

namespace {
std::string& Folder() {
  static std::string folder;
  return folder;
}
}  // namespace

std::string FolderOfPath(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(0, slash);
}

const std::string& ProgramFolder() { return Folder(); }
void SetProgramFolder(std::string folder) { Folder() = std::move(folder); }
