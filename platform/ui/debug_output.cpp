#include "platform/ui/debug_output.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {

std::atomic<bool> g_enabled{true};
std::atomic<bool> g_boxLines{true};

void WriteLine(std::string_view text) {
  static std::mutex mutex;
  std::string line(text);
  if (line.empty() || line.back() != '\n') line.push_back('\n');
  std::lock_guard lock(mutex);
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

bool SetDebugOutputEnabled(bool enabled) { return g_enabled.exchange(enabled); }

bool DebugOutputWanted(bool verbose) {
  const char* debug = std::getenv("RX40_DEBUG");
  return verbose || (debug && std::string_view(debug) == "1");
}

void OutputDebugString(std::string_view text) {
  if (g_enabled.load()) WriteLine(text);
}

bool SetBoxLinesEnabled(bool enabled) { return g_boxLines.exchange(enabled); }

void OutputBoxLine(std::string_view text) {
  // Written once: as a debug line when those are on, else on its own.
  if (g_boxLines.load() || g_enabled.load()) WriteLine(text);
}
