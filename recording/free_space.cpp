#include "recording/free_space.h"

#include <sys/statvfs.h>

#include <cstdio>
#include <mutex>

namespace {

// The folder a file of this path goes into.
std::string FolderOf(const std::string& filePath) {
  const auto slash = filePath.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : filePath.substr(0, slash);
}

std::optional<std::uint64_t> StatFreeBytes(const std::string& filePath) {
  if (filePath == "-") return std::nullopt;
  struct statvfs stat{};
  if (statvfs(FolderOf(filePath).c_str(), &stat) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(stat.f_bavail) * stat.f_frsize;
}

std::mutex& FunctionMutex() {
  static std::mutex mutex;
  return mutex;
}

FreeSpaceFunction& TheFunction() {
  static FreeSpaceFunction function = StatFreeBytes;
  return function;
}

std::string Megabytes(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

}  // namespace

std::optional<std::uint64_t> FreeBytesFor(const std::string& filePath) {
  FreeSpaceFunction function;
  {
    std::lock_guard lock(FunctionMutex());
    function = TheFunction();
  }
  return function(filePath);
}

FreeSpaceFunction SetFreeSpaceFunction(FreeSpaceFunction function) {
  std::lock_guard lock(FunctionMutex());
  FreeSpaceFunction previous = std::move(TheFunction());
  TheFunction() = function ? std::move(function) : StatFreeBytes;
  return previous;
}

std::optional<std::string> SpaceShortfall(const std::string& filePath, std::uint64_t needed, std::uint64_t free) {
  if (needed <= free) return std::nullopt;
  return "The recording may not fit: it needs about " + Megabytes(needed) + " and only " + Megabytes(free) +
         " are free in " + FolderOf(filePath) + ".";
}

std::uint64_t BytesForSizeLimit(std::uint32_t limitMB) { return std::uint64_t{limitMB} * 1024 * 1024; }

std::uint64_t BytesForRestOfTimeLimit(std::uint64_t recordedBytes, std::uint64_t elapsedMs,
                                      std::uint32_t limitSeconds) {
  const std::uint64_t limitMs = std::uint64_t{limitSeconds} * 1000;
  if (elapsedMs == 0 || elapsedMs >= limitMs) return 0;
  return static_cast<std::uint64_t>(static_cast<long double>(recordedBytes) * (limitMs - elapsedMs) / elapsedMs);
}
