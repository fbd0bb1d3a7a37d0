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

// Zero bytes read like a PID 0 header but for the missing sync byte: they are
// never a packet, wherever a piece starts.
TEST(TsPacketCounter, BytesWithoutTheSyncByteAreNeverCountedAsAPacket) {
  std::vector<std::uint8_t> stream(2 * 188, 0x00);
  const auto packet = Packet(0x100);
  stream.insert(stream.end(), packet.begin(), packet.end());
  for (const std::size_t piece : {stream.size(), std::size_t{188}, std::size_t{50}}) {
    TsPacketCounter counter;
    for (std::size_t at = 0; at < stream.size(); at += piece)
      counter.Consume(stream.data() + at, std::min(piece, stream.size() - at));
    EXPECT_EQ(counter.TotalPackets(), 1u) << "pieces of " << piece;
    EXPECT_EQ(counter.Count(0), 0u) << "pieces of " << piece;
    EXPECT_EQ(counter.Count(0x100), 1u) << "pieces of " << piece;
    EXPECT_EQ(counter.SyncLosses(), 1u) << "pieces of " << piece;
  }
}

// A packet with payload (and an adaptation field when asked) carrying counter.
std::vector<std::uint8_t> Counted(std::uint16_t pid, int counter, bool payload = true, bool discontinuity = false) {
  std::vector<std::uint8_t> packet = Packet(pid);
  const bool adaptation = !payload || discontinuity;
  packet[3] = static_cast<std::uint8_t>(((adaptation ? 2 : 0) | (payload ? 1 : 0)) << 4 | (counter & 0x0F));
  if (adaptation) {
    packet[4] = payload ? 1 : 183;
    packet[5] = discontinuity ? 0x80 : 0x00;
  }
  return packet;
}

TEST(TsPacketCounter, ChecksEachPidsContinuityCounter) {
  using P = std::vector<std::uint8_t>;
  struct Case {
    const char* what;
    std::vector<P> packets;
    std::uint64_t errors;
  };
  const Case cases[] = {
      {"in order, wrapping", {Counted(0x101, 14), Counted(0x101, 15), Counted(0x101, 0), Counted(0x101, 1)}, 0},
      {"one packet lost", {Counted(0x101, 3), Counted(0x101, 5), Counted(0x101, 6)}, 1},
      {"each PID counts alone", {Counted(0x100, 0), Counted(0x101, 7), Counted(0x100, 1), Counted(0x101, 8)}, 0},
      {"one duplicate is allowed", {Counted(0x101, 2), Counted(0x101, 2), Counted(0x101, 3)}, 0},
      {"a second duplicate is not", {Counted(0x101, 2), Counted(0x101, 2), Counted(0x101, 2)}, 1},
      {"no payload keeps the counter", {Counted(0x101, 4), Counted(0x101, 4, false), Counted(0x101, 5)}, 0},
      {"null packets are not checked", {Counted(0x1FFF, 0), Counted(0x1FFF, 0), Counted(0x1FFF, 9)}, 0},
      {"a signalled discontinuity", {Counted(0x101, 4), Counted(0x101, 11, true, true), Counted(0x101, 12)}, 0},
      {"the first packet sets the count", {Counted(0x101, 9)}, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> stream;
    for (const P& packet : c.packets) stream.insert(stream.end(), packet.begin(), packet.end());
    // Whole, and in pieces that cut packets apart: the same errors.
    for (std::size_t piece : {stream.size(), std::size_t{100}}) {
      TsPacketCounter counter;
      for (std::size_t at = 0; at < stream.size(); at += piece)
        counter.Consume(stream.data() + at, std::min(piece, stream.size() - at));
      EXPECT_EQ(counter.ContinuityErrors(), c.errors) << c.what << ", pieces of " << piece;
      EXPECT_EQ(counter.TotalPackets(), c.packets.size()) << c.what;
    }
  }
}

}  // namespace
