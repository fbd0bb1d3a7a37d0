#include "platform/sim/stream/ts_memory_replay.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kPacket = 188;
}

TsMemoryReplay::TsMemoryReplay(std::shared_ptr<const std::vector<std::uint8_t>> packets)
    : m_packets(std::move(packets)), m_total(m_packets ? m_packets->size() / kPacket : 0) {}

std::size_t TsMemoryReplay::Fill(std::uint8_t* out, std::size_t packets) {
  if (m_total == 0) return 0;
  Held& held = m_held[out];
  const Held wanted{m_next, packets};
  if (held.from != wanted.from || held.count != wanted.count || held.count == 0) {
    for (std::size_t done = 0, at = m_next; done < packets;) {
      const std::size_t run = std::min(packets - done, m_total - at);
      std::memcpy(out + done * kPacket, m_packets->data() + at * kPacket, run * kPacket);
      done += run;
      at = (at + run) % m_total;
    }
    held = wanted;
  }
  m_next = (m_next + packets) % m_total;
  return packets;
}
