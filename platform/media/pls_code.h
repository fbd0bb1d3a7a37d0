// DVB-S2 physical-layer scrambling (EN 302 307 5.5.4): the sequence number n
// of the Gold code, as the kernel takes it (DTV_SCRAMBLING_SEQUENCE_INDEX),
// and the "root" form operators also publish: the 18-bit state of the x
// register after n steps of x(i+18) = x(i+7) + x(i), from x(0) = 1. Pure.
#pragma once

#include <cstdint>
#include <optional>

namespace dvb {

inline constexpr std::uint32_t kMaxPlsGold = 262142;  // 2^18 - 2

// The root of Gold code n (n up to kMaxPlsGold).
std::uint32_t PlsGoldToRoot(std::uint32_t gold);
// The Gold code whose root this is; none for a value no n reaches.
std::optional<std::uint32_t> PlsRootToGold(std::uint32_t root);

}  // namespace dvb
