#include "platform/sim/video/bit_writer.h"

void BitWriter::Put(std::uint32_t value, int count) {
  for (int bit = count - 1; bit >= 0; --bit) {
    m_pending = (m_pending << 1) | ((value >> bit) & 1);
    if (++m_used == 8) {
      m_bytes.push_back(static_cast<std::uint8_t>(m_pending));
      m_pending = 0;
      m_used = 0;
    }
  }
}

void BitWriter::AlignWithZeros() {
  if (m_used > 0) Put(0, 8 - m_used);
}

void BitWriter::StartCode(std::uint8_t code) {
  AlignWithZeros();
  m_bytes.insert(m_bytes.end(), {0x00, 0x00, 0x01, code});
}

std::vector<std::uint8_t> BitWriter::Take() {
  AlignWithZeros();
  std::vector<std::uint8_t> bytes;
  bytes.swap(m_bytes);
  return bytes;
}
