#include "platform/media/ts_packet_counter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {
constexpr std::size_t kNullPid = 0x1FFF;
}

void TsPacketCounter::CountPacket(const std::uint8_t* packet) {
  const std::size_t pid = ((packet[1] & 0x1F) << 8) | packet[2];
  ++m_counts[pid];
  if (pid != kNullPid) CheckContinuity(pid, packet);
  ++m_total;
  m_inSync = true;
}

void TsPacketCounter::CheckContinuity(std::size_t pid, const std::uint8_t* packet) {
  const std::uint8_t control = packet[3] >> 4 & 0x3;
  if (!(control & 0x1)) return;  // no payload: the counter stays
  const std::uint8_t counter = packet[3] & 0x0F;
  const bool discontinuity = (control & 0x2) && packet[4] > 0 && (packet[5] & 0x80);
  std::uint8_t& state = m_continuity[pid];
  if ((state & kSeen) && !discontinuity) {
    const std::uint8_t last = state & 0x0F;
    if (counter == last && !(state & kRepeated)) {
      state |= kRepeated;
      return;
    }
    if (counter != ((last + 1) & 0x0F)) ++m_continuityErrors;
  }
  state = kSeen | counter;
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
    // The common case first: whole packets in sync.
    // A stream is mostly long runs of one PID: count a run in a register,
    // not by one memory increment per packet.
    const std::uint8_t* start = data;
    std::size_t runPid = 0;
    std::uint64_t run = 0;
    // Sync byte and PID of a packet as one word, compared once per packet.
    // It starts as no packet's key (which has at most 24 bits), so the first
    // packet of a run is always checked for its sync byte.
    std::uint32_t runKey = UINT32_MAX;
    bool runChecked = false;  // the run's PID has continuity counters to check
    const std::uint8_t* end = data + size / kPacketSize * kPacketSize;
    for (; data != end; data += kPacketSize) {
      const std::uint32_t key = static_cast<std::uint32_t>(data[0]) << 16 | (data[1] & 0x1Fu) << 8 | data[2];
      if (key != runKey) [[unlikely]] {
        if (data[0] != kSyncByte) break;
        m_counts[runPid] += run;
        runKey = key;
        runPid = key & 0x1FFF;
        runChecked = runPid != kNullPid;  // null packets carry no counter
        run = 0;
      }
      ++run;
      if (runChecked) CheckContinuity(runPid, data);
    }
    size -= static_cast<std::size_t>(data - start);
    m_counts[runPid] += run;
    if (data != start) {
      m_total += static_cast<std::uint64_t>(data - start) / kPacketSize;
      m_inSync = true;
    }
    if (size == 0) return;
    if (*data != kSyncByte) {
      if (m_inSync) ++m_syncLosses;
      m_inSync = false;
      const void* next = std::memchr(data, kSyncByte, size);
      if (!next) return;
      size -= static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - data);
      data = static_cast<const std::uint8_t*>(next);
      continue;
    }
    // A packet that goes on in the next piece.
    std::memcpy(m_partial.data(), data, size);
    m_partialSize = size;
    return;
  }
}

std::map<std::uint16_t, std::uint64_t> TsPacketCounter::Counts() const {
  std::map<std::uint16_t, std::uint64_t> counts;
  for (std::size_t pid = 0; pid < m_counts.size(); ++pid)
    if (m_counts[pid] != 0) counts[static_cast<std::uint16_t>(pid)] = m_counts[pid];
  return counts;
}
