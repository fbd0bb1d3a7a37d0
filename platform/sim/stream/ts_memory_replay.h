// TsMemoryReplay: the packets of a buffer in memory, looped, for measuring
// the graph without the cost of making a stream. A sample buffer that
// already holds the packets asked for (a recycled buffer filled at the same
// point of the loop) is left as it is, so a buffer of one sample's packets
// costs no copy at all once the pool has gone round.
//
// The streaming thread only. The buffer is shared and never written.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/sim/stream/ts_source.h"

class TsMemoryReplay final : public TsSource {
 public:
  // packets: whole 188-byte packets; a trailing part is left out.
  explicit TsMemoryReplay(std::shared_ptr<const std::vector<std::uint8_t>> packets);

  std::size_t Fill(std::uint8_t* out, std::size_t packets) override;

 private:
  struct Held {
    std::size_t from;  // packet index in the loop
    std::size_t count;
  };
  std::shared_ptr<const std::vector<std::uint8_t>> m_packets;
  std::size_t m_total;  // packets in the loop
  std::size_t m_next = 0;
  std::unordered_map<const std::uint8_t*, Held> m_held;
};
