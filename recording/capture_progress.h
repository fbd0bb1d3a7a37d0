// The Capture Control page's limit arithmetic and the texts it shows, as
// pure functions. Sizes are carried in 64 bits, so the largest size limit
// (800000 MB, 819,200,000 KB) and the files it allows never overflow.
#pragma once

#include <cstdint>
#include <string>

// Percentage of the size limit a file of kbytes has reached (remainder
// dropped). limitMB is at least 1.
std::uint64_t SizeLimitPercent(std::uint64_t kbytes, std::uint32_t limitMB);
// Percentage of the time limit after ticks record timer ticks, ten to the
// second (remainder dropped). limitSeconds is at least 1.
std::uint64_t TimeLimitPercent(std::uint32_t ticks, std::uint32_t limitSeconds);
// Whole seconds left after ticks; 0 once the limit has passed (a limit
// lowered during a recording).
std::uint32_t SecondsLeft(std::uint32_t ticks, std::uint32_t limitSeconds);

std::string KBytesLine(std::uint64_t kbytes);         // "N KBytes"
std::string SecondsLine(std::uint32_t seconds);       // "N Seconds"
std::string RecordingStatus(std::uint64_t percent);   // "Recording... N%"
// The status line after a failed write, naming the reason.
std::string WriteErrorStatus(int error);              // "Write error: reason"
