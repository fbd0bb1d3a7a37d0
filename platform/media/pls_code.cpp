#include "platform/media/pls_code.h"

namespace dvb {
namespace {

// One step of the x register: bit k holds x(i+k); the new x(i+18) enters at
// bit 17.
std::uint32_t Step(std::uint32_t x) { return (((x ^ (x >> 7)) & 1u) << 17) | (x >> 1); }

}  // namespace

std::uint32_t PlsGoldToRoot(std::uint32_t gold) {
  std::uint32_t x = 1;
  for (std::uint32_t n = 0; n < gold && n < kMaxPlsGold; ++n) x = Step(x);
  return x;
}

std::optional<std::uint32_t> PlsRootToGold(std::uint32_t root) {
  std::uint32_t x = 1;
  for (std::uint32_t n = 0; n <= kMaxPlsGold; ++n) {
    if (x == root) return n;
    x = Step(x);
  }
  return std::nullopt;
}

}  // namespace dvb
