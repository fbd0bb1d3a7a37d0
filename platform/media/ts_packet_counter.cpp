#include "platform/media/ts_packet_counter.h"

#include <algorithm>
#include <cstring>

void TsPacketCounter::CountPacket(const std::uint8_t* packet) {
  ++m_counts[((packet[1] & 0x1F) << 8) | packet[2]];
  ++m_total;
  m_inSync = true;
}

void TsPacketCounter::Consume(const std::uint8_t* data, std::size_t size) {
  if (m_partialSize > 0) {
    const std::size_t take = std::min(size, kPacketSize - m_partialSize);
    std::memcpy(m_partial.data() + m_partialSize, data, take);
    m_partialSize += take;
    data += take;
    size -= take;
    if (m_partialSize < kPacketSize) return;
    CountPacket(m_partial.data());
    m_partialSize = 0;
  }
  while (size > 0) {
    if (*data != kSyncByte) {
      if (m_inSync) ++m_syncLosses;
      m_inSync = false;
      const void* next = std::memchr(data, kSyncByte, size);
      if (!next) return;
      size -= static_cast<const std::uint8_t*>(next) - data;
      data = static_cast<const std::uint8_t*>(next);
      continue;
    }
    if (size < kPacketSize) {
      std::memcpy(m_partial.data(), data, size);
      m_partialSize = size;
      return;
    }
    CountPacket(data);
    data += kPacketSize;
    size -= kPacketSize;
  }
}

std::map<std::uint16_t, std::uint64_t> TsPacketCounter::Counts() const {
  std::map<std::uint16_t, std::uint64_t> counts;
  for (std::size_t pid = 0; pid < m_counts.size(); ++pid)
    if (m_counts[pid] != 0) counts[static_cast<std::uint16_t>(pid)] = m_counts[pid];
  return counts;
}
