// The capture ring between a card's reader and the streaming thread: bytes
// come out as they went in across the wrap, a full ring loses whole packets
// and says how many, a waiting producer neither loses nor hangs at a stop.
#include "platform/media/capture_ring.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kPacket = CaptureRing::kPacket;

// Packets whose every byte says where it sits in the stream.
std::vector<std::uint8_t> Packets(std::size_t first, std::size_t count) {
  std::vector<std::uint8_t> bytes(count * kPacket);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((first * kPacket + i) * 7 + 1);
  return bytes;
}

// What the consumer reads in place, up to `most` bytes, as the streaming
// thread does: Peek, use, Consume; with `wait`, waiting for data first.
std::vector<std::uint8_t> Take(CaptureRing& ring, std::size_t most, bool wait = false) {
  std::vector<std::uint8_t> taken;
  for (;;) {
    const std::size_t left = most - taken.size();
    const auto span = wait && taken.empty() ? ring.WaitForData(left) : ring.Peek(left);
    if (span.empty()) return taken;
    EXPECT_EQ(span.size() % kPacket, 0u) << "whole packets only";
    taken.insert(taken.end(), span.begin(), span.end());
    ring.Consume(span.size());
  }
}

TEST(CaptureRing, BytesComeOutInOrderAcrossTheWrapAndTheHighWaterIsKept) {
  CaptureRing ring(10 * kPacket + 100);  // rounded down to whole packets
  EXPECT_EQ(ring.Capacity(), 10 * kPacket);
  std::vector<std::uint8_t> got;
  std::size_t pushed = 0;
  for (int round = 0; round < 7; ++round) {  // 3 packets in per round, wrapping several times
    const auto in = Packets(pushed, 3);
    EXPECT_EQ(ring.Push(in.data(), in.size()), in.size());
    pushed += 3;
    const auto taken = Take(ring, round % 2 ? 4 * kPacket : 2 * kPacket + 50);
    got.insert(got.end(), taken.begin(), taken.end());
  }
  const auto rest = Take(ring, 100 * kPacket);
  got.insert(got.end(), rest.begin(), rest.end());
  EXPECT_EQ(got, Packets(0, pushed));
  EXPECT_EQ(ring.Overflows(), 0u);
  EXPECT_EQ(ring.HighWater(), 4 * kPacket);  // 1 left over, 3 pushed
}

TEST(CaptureRing, AFullRingLosesWhatDoesNotFitAndCountsIt) {
  CaptureRing ring(4 * kPacket);
  const auto in = Packets(0, 3);
  EXPECT_EQ(ring.Push(in.data(), in.size()), in.size());
  const auto more = Packets(3, 3);
  EXPECT_EQ(ring.Push(more.data(), more.size()), kPacket) << "one packet of room";
  EXPECT_EQ(ring.Push(more.data(), more.size()), 0u);
  EXPECT_EQ(ring.Overflows(), 2u);
  EXPECT_EQ(ring.LostBytes(), 5 * kPacket);
  EXPECT_EQ(ring.HighWater(), ring.Capacity());
  EXPECT_EQ(Take(ring, 8 * kPacket), Packets(0, 4)) << "what was taken is intact";
}

TEST(CaptureRing, AWaitingProducerLosesNothingAndAStopEndsItsWait) {
  CaptureRing ring(8 * kPacket);
  const auto in = Packets(0, 1000);
  std::vector<std::uint8_t> got;
  std::thread consumer([&] {
    for (auto taken = Take(ring, 5 * kPacket, true); !taken.empty(); taken = Take(ring, 5 * kPacket, true))
      got.insert(got.end(), taken.begin(), taken.end());
  });
  EXPECT_TRUE(ring.PushWaiting(in.data(), in.size()));
  ring.WakeConsumer();  // the producer has ended: drain, then stop
  consumer.join();
  EXPECT_EQ(got, in);
  EXPECT_EQ(ring.Overflows(), 0u);

  // Nobody reads: the producer waits for room until the stop.
  CaptureRing stuck(2 * kPacket);
  std::thread producer([&] { EXPECT_FALSE(stuck.PushWaiting(in.data(), in.size())); });
  stuck.WakeProducer();
  producer.join();
  EXPECT_EQ(stuck.Overflows(), 0u) << "a waiting producer never drops";
}

// While the consumer keeps up the same few blocks go round; a stall takes
// memory as it fills the queue, and most of it goes back once drained.
TEST(CaptureRing, MemoryFollowsTheFillNotTheCapacity) {
  CaptureRing ring(64u * 1024 * 1024);
  const std::size_t block = ring.BlockBytes();
  ASSERT_EQ(block % kPacket, 0u);
  const auto chunk = Packets(0, 348);
  std::uint64_t consumed = 0;
  for (int i = 0; i < 2000; ++i) {  // 130 MB through a consumer that keeps up, read in place
    ASSERT_EQ(ring.Push(chunk.data(), chunk.size()), chunk.size());
    for (auto span = ring.Peek(block); !span.empty(); span = ring.Peek(block)) {
      const std::size_t at = consumed % chunk.size();
      ASSERT_TRUE(std::equal(span.begin(), span.end(), chunk.begin() + static_cast<long>(at)));
      consumed += span.size();
      ring.Consume(span.size());
    }
  }
  EXPECT_EQ(consumed, 2000 * chunk.size());
  EXPECT_LE(ring.BlocksAllocated(), 2u);
  EXPECT_LT(ring.HighWater(), 2 * block);

  for (int i = 0; i < 1000; ++i) ASSERT_EQ(ring.Push(chunk.data(), chunk.size()), chunk.size());  // a stall: 65 MB
  const std::size_t stalled = ring.BlocksAllocated();
  EXPECT_GE(stalled * block, 1000 * chunk.size() - block);
  while (!Take(ring, block).empty()) {
  }
  EXPECT_LT(ring.BlocksAllocated(), 16u) << "the spares kept, the rest given back";
  EXPECT_EQ(ring.Overflows(), 0u);
}

}  // namespace
