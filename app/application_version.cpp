#include "app/application_version.h"

#include "app/version_info.h"

namespace {
std::string& ExecutablePath() {
  static std::string path = "/proc/self/exe";
  return path;
}
}  // namespace

std::string ApplicationVersionText() { return FormatVersionText(ReadProductVersionStamp(ExecutablePath())); }
void SetApplicationExecutablePath(std::string path) { ExecutablePath() = std::move(path); }
