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
