#include <gtest/gtest.h>

#include <vector>

#include "platform/media/ts_packet_counter.h"

namespace {

std::vector<std::uint8_t> Packet(std::uint16_t pid) {
  std::vector<std::uint8_t> packet(188, 0xAA);
  packet[0] = 0x47;
  packet[1] = static_cast<std::uint8_t>(pid >> 8);
  packet[2] = static_cast<std::uint8_t>(pid);
  return packet;
}

TEST(TsPacketCounter, JoinsPacketsAcrossPiecesAndResynchronises) {
  std::vector<std::uint8_t> stream;
  for (std::uint16_t pid : {0, 0x100, 0x101, 0x101}) {
    const auto packet = Packet(pid);
    stream.insert(stream.end(), packet.begin(), packet.end());
  }
  stream.insert(stream.begin() + 188, {0x00, 0x12, 0x34});  // garbage between packets

  TsPacketCounter counter;
  for (std::size_t at = 0; at < stream.size(); at += 100)
    counter.Consume(stream.data() + at, std::min<std::size_t>(100, stream.size() - at));
  EXPECT_EQ(counter.TotalPackets(), 4u);
  EXPECT_EQ(counter.Count(0x101), 2u);
  EXPECT_EQ(counter.Count(0x100), 1u);
  EXPECT_EQ(counter.SyncLosses(), 1u);
}

}  // namespace
