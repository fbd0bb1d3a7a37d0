// TsPacketCounter: counts 188-byte transport packets per PID in a byte
// stream cut into arbitrary pieces. A packet split across two pieces is
// joined; bytes that do not start with the sync byte are skipped up to the
// next one and counted as a loss of sync. It also checks each PID's
// continuity counter: a packet with payload must carry the last counter plus
// one; one repeat of the last counter is a duplicate, not an error; packets
// without payload, null packets and a signalled discontinuity are exempt.
// Single-threaded: its owner locks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>

class TsPacketCounter {
 public:
  static constexpr std::size_t kPacketSize = 188;
  static constexpr std::uint8_t kSyncByte = 0x47;

  void Consume(const std::uint8_t* data, std::size_t size);

  std::uint64_t Count(std::uint16_t pid) const { return m_counts[pid & 0x1FFF]; }
  std::uint64_t TotalPackets() const { return m_total; }
  std::uint64_t SyncLosses() const { return m_syncLosses; }
  std::uint64_t ContinuityErrors() const { return m_continuityErrors; }
  // Every PID seen, with its count.
  std::map<std::uint16_t, std::uint64_t> Counts() const;

 private:
  void CountPacket(const std::uint8_t* packet);
  void CheckContinuity(std::size_t pid, const std::uint8_t* packet);

  // Per PID: bits 0-3 the last counter, kSeen once one was seen, kRepeated
  // after a duplicate.
  static constexpr std::uint8_t kSeen = 0x10;
  static constexpr std::uint8_t kRepeated = 0x20;
  std::array<std::uint8_t, 8192> m_continuity{};
  std::array<std::uint64_t, 8192> m_counts{};
  std::uint64_t m_continuityErrors = 0;
  std::uint64_t m_total = 0;
  std::uint64_t m_syncLosses = 0;
  bool m_inSync = true;
  std::array<std::uint8_t, kPacketSize> m_partial{};
  std::size_t m_partialSize = 0;
};
