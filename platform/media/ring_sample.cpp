#include "platform/media/ring_sample.h"

void RingSample::Point(std::span<const std::uint8_t> bytes) {
  // Downstream treats samples as read-only; the pointer is not const only by the interface.
  SetBytes(const_cast<BYTE*>(bytes.data()), static_cast<LONG>(bytes.size()));
  ResetProperties();
  m_cRef = 1;
}
