#include "platform/ui/debug_output.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

namespace {

std::atomic<bool> g_enabled{true};

}  // namespace

bool SetDebugOutputEnabled(bool enabled) { return g_enabled.exchange(enabled); }

void OutputDebugString(std::string_view text) {
  if (!g_enabled.load()) return;
  static std::mutex mutex;
  std::string line(text);
  if (line.empty() || line.back() != '\n') line.push_back('\n');
  std::lock_guard lock(mutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}
