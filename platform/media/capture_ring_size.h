// The capture ring's default size (capture_delivery.h), for the options
// that set it.
#pragma once

#include <cstddef>

// 256 MiB: over 30 s of a 64 Mbit/s carrier.
inline constexpr std::size_t kDefaultCaptureRingBytes = 256u * 1024 * 1024;
// The largest size an option may ask for, in MiB: beyond 4 GiB the
// machine, not the ring, is the limit.
inline constexpr unsigned kMaxCaptureRingMb = 4096;
