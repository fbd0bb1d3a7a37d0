#include "recording/capture_progress.h"

#include <cstring>

std::uint64_t SizeLimitPercent(std::uint64_t kbytes, std::uint32_t limitMB) {
  return kbytes * 100 / (static_cast<std::uint64_t>(limitMB) * 1024);
}

std::uint64_t TimeLimitPercent(std::uint32_t ticks, std::uint32_t limitSeconds) {
  return static_cast<std::uint64_t>(ticks) * 10 / limitSeconds;
}

std::uint32_t SecondsLeft(std::uint32_t ticks, std::uint32_t limitSeconds) {
  const std::uint32_t elapsed = ticks / 10;
  return elapsed >= limitSeconds ? 0 : limitSeconds - elapsed;
}

std::string KBytesLine(std::uint64_t kbytes) { return std::to_string(kbytes) + " KBytes"; }

std::string SecondsLine(std::uint32_t seconds) { return std::to_string(seconds) + " Seconds"; }

std::string RecordingStatus(std::uint64_t percent) { return "Recording... " + std::to_string(percent) + "%"; }

std::string WriteErrorStatus(int error) { return std::string("Write error: ") + std::strerror(error); }
