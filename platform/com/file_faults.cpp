#include "platform/com/file_faults.h"

#include <atomic>

namespace {
// UINT64_MAX: no fault.
std::atomic<std::uint64_t> g_writeLimit{UINT64_MAX};
}  // namespace

void SetWriteFailureAfterBytes(std::optional<std::uint64_t> bytes) { g_writeLimit = bytes.value_or(UINT64_MAX); }

std::optional<std::uint64_t> WriteFailureAfterBytes() {
  const std::uint64_t limit = g_writeLimit.load();
  if (limit == UINT64_MAX) return std::nullopt;
  return limit;
}

namespace {
std::atomic<std::uint64_t> g_stallAfter{UINT64_MAX};
std::atomic<std::uint32_t> g_stallMs{0};
}  // namespace

void SetWriteStall(std::optional<WriteStall> stall) {
  g_stallMs = stall ? stall->milliseconds : 0;
  g_stallAfter = stall ? stall->afterBytes : UINT64_MAX;
}

std::optional<WriteStall> InjectedWriteStall() {
  const std::uint64_t after = g_stallAfter.load();
  if (after == UINT64_MAX) return std::nullopt;
  return WriteStall{after, g_stallMs.load()};
}

namespace {
std::atomic<int> g_closeFailure{0};
}  // namespace

void SetCloseFailure(std::optional<int> error) { g_closeFailure = error.value_or(0); }

std::optional<int> InjectedCloseFailure() {
  const int error = g_closeFailure.load();
  if (error == 0) return std::nullopt;
  return error;
}
