#include "platform/ui/debug_output.h"

#include <cstdio>
#include <mutex>
#include <string>

void OutputDebugString(std::string_view text) {
  static std::mutex mutex;
  std::string line(text);
  if (line.empty() || line.back() != '\n') line.push_back('\n');
  std::lock_guard lock(mutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}
