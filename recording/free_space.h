// Whether a recording will fit: the free space where its file goes, against
// the size limit before it starts, or against the time limit at the rate
// the carrier turns out to have once it has run for a moment. A shortfall
// is a warning, not a refusal: the user may know the disk better (files
// about to be deleted, a limit never meant to be reached).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Bytes free to an unprivileged writer in the folder of filePath; none when
// it cannot be told (standard output, a folder that does not exist).
using FreeSpaceFunction = std::function<std::optional<std::uint64_t>(const std::string& filePath)>;
std::optional<std::uint64_t> FreeBytesFor(const std::string& filePath);
// Replaces how free space is found (tests); returns the previous way.
FreeSpaceFunction SetFreeSpaceFunction(FreeSpaceFunction function);

// The rate is measured over this much recording before the time limit is
// judged.
inline constexpr std::uint64_t kRateMeasureMs = 2000;

// The warning when `needed` bytes will not fit in `free`; none when they will.
std::optional<std::string> SpaceShortfall(const std::string& filePath, std::uint64_t needed, std::uint64_t free);
// The bytes a size limit allows.
std::uint64_t BytesForSizeLimit(std::uint32_t limitMB);
// The bytes still to come before a time limit, at the rate measured so far
// (recordedBytes in elapsedMs).
std::uint64_t BytesForRestOfTimeLimit(std::uint64_t recordedBytes, std::uint64_t elapsedMs,
                                      std::uint32_t limitSeconds);
