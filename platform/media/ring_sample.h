// RingSample: a media sample over bytes the capture ring holds, so the
// streaming thread hands the stream on without copying it into a pool
// buffer. Owned by the capture delivery, which reuses it for each delivery
// and gives the bytes back to the ring once downstream has released the
// sample; references only count, they never free it.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include "platform/media/sample_base.h"

class RingSample final : public CSampleBase {
 public:
  RingSample() : CSampleBase(nullptr, 0) {}

  // The bytes of the next delivery; one reference, the delivery's.
  void Point(std::span<const std::uint8_t> bytes);
  // References beyond the delivery's own: downstream still holds it.
  std::int32_t HeldElsewhere() const { return m_cRef.load() - 1; }

  ULONG AddRef() override { return static_cast<ULONG>(++m_cRef); }
  ULONG Release() override { return static_cast<ULONG>(--m_cRef); }

 private:
  std::atomic<std::int32_t> m_cRef{0};
};
