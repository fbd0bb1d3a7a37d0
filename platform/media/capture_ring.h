// CaptureRing: the user-space buffer between a card's capture reader (which
// must drain the device before its small buffer overflows) and the
// streaming thread (which may wait for a stalled disk). One producer, one
// consumer, whole 188-byte packets. A producer that cannot wait (a device)
// loses what does not fit, counted as an overflow; one that can (a file
// replayed as fast as it goes) waits for room. The high-water mark says how
// close it came to full.
//
// It is a queue of blocks taken from a few spares, not one ring swept end
// to end: while the disk keeps up the same blocks go round, warm in the
// cache, and memory is only taken (and touched) as far as a stall fills the
// queue. Its capacity is whole blocks; a block partly read still counts
// whole, so the room may fall short of the capacity by up to one block.
//
// Threads: FreeSpan, Commit, Push on the producer's; Peek, WaitForData,
// Consume on the consumer's; Wake*, the counters from any. The byte counts are atomics; the mutex
// guards the block lists and serves the waits, and is taken only to change
// blocks or when the other side waits.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

class CaptureRing {
 public:
  static constexpr std::size_t kPacket = 188;
  // 1392 packets (256 KiB) at most, a 64th of the capacity at least: few
  // enough bytes in flight to stay in the cache, many enough that the sink
  // writes in large pieces.
  static constexpr std::size_t kMaxBlockBytes = 1392 * kPacket;

  // Capacity in bytes, rounded down to whole blocks (at least one packet).
  // Blocks are a multiple of alignPackets where they can be, so that a
  // producer writing that many packets at a time always finds room for
  // them in one piece.
  explicit CaptureRing(std::size_t capacityBytes, std::size_t alignPackets = 1);
  ~CaptureRing();
  CaptureRing(const CaptureRing&) = delete;
  CaptureRing& operator=(const CaptureRing&) = delete;

  std::size_t Capacity() const { return m_maxBlocks * m_blockBytes; }
  std::size_t BlockBytes() const { return m_blockBytes; }
  // Blocks ever allocated by any ring of the process: when it changes,
  // memory handed out before may now be another block.
  static std::uint64_t BlockAllocations() { return s_blockAllocations.load(); }

  // The producer's free space in its block, whole packets, at most `most`
  // bytes, to read or make packets into in place (no copy); empty when the
  // queue is full. Commit publishes what was put there.
  std::span<std::uint8_t> FreeSpan(std::size_t most);
  // Like FreeSpan for a producer that can wait: it waits while it is a few
  // blocks ahead or the queue is full; empty when WakeProducer ended the
  // wait with the queue full.
  std::span<std::uint8_t> FreeSpanWaiting(std::size_t most);
  void Commit(std::size_t bytes);
  // Bytes that arrived with the queue full, read and dropped: an overflow.
  void CountLost(std::size_t bytes);

  // Copies whole packets in; what does not fit is lost and counted. The
  // bytes taken.
  std::size_t Push(const std::uint8_t* data, std::size_t size);
  // Copies all of data in, waiting for room while the queue is full; false
  // when WakeProducer ended such a wait (the rest is not taken).
  bool PushWaiting(const std::uint8_t* data, std::size_t size);
  // The consumer's next bytes in place (no copy): contiguous, in one block,
  // at most `most`; Consume gives them back once used. Peek does not wait;
  // WaitForData waits for data (or WakeConsumer: empty with nothing left).
  std::span<const std::uint8_t> Peek(std::size_t most);
  std::span<const std::uint8_t> WaitForData(std::size_t most);
  void Consume(std::size_t bytes);
  // End the producer's waits for room (a stop), or the consumer's for data
  // (the producer has ended: what is left is drained, then WaitForData
  // gives nothing).
  // Apart so a stop cannot end the consumer before the producer's last push.
  void WakeProducer();
  void WakeConsumer();

  std::size_t Fill() const { return static_cast<std::size_t>(m_written.load() - m_read.load()); }
  std::size_t HighWater() const { return m_highWater.load(); }
  std::uint64_t Overflows() const { return m_overflows.load(); }
  std::uint64_t LostBytes() const { return m_lostBytes.load(); }
  // Blocks in memory (in use and spare), for the footprint.
  std::size_t BlocksAllocated() const;

 private:
  struct Block {
    explicit Block(std::size_t bytes) : data(new std::uint8_t[bytes]) {}
    const std::unique_ptr<std::uint8_t[]> data;  // not touched until written
    std::atomic<std::size_t> written{0};
  };
  // How far a producer that can wait runs ahead of the consumer.
  static constexpr std::size_t kWaitingLeadBlocks = 2;
  // Spares kept for reuse when a stall drains; the rest go back.
  static constexpr std::size_t kKeptSpares = 8;

  // A fresh block at the queue's end for the producer, or none when full.
  Block* NextProducerBlockLocked();
  bool ProducerHasRoomLocked() const;
  // The consumer is done with its block: back to the spares.
  void RecycleConsumerBlock();
  // Wakes the other side if it waits (flag set under m_mutex).
  void Notify(std::atomic<bool>& waiting);

  static std::atomic<std::uint64_t> s_blockAllocations;

  const std::size_t m_blockBytes;
  const std::size_t m_maxBlocks;

  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<std::unique_ptr<Block>> m_queue;   // guarded: oldest (the consumer's) first
  std::vector<std::unique_ptr<Block>> m_spares;  // guarded
  std::size_t m_allocated = 0;                   // guarded
  std::atomic<Block*> m_produce{nullptr};        // the queue's back; set under m_mutex
  Block* m_consume = nullptr;                    // the consumer's, the queue's front
  std::size_t m_consumeAt = 0;                   // the consumer's

  std::atomic<std::uint64_t> m_written{0};  // bytes ever committed
  std::atomic<std::uint64_t> m_read{0};     // bytes ever popped
  std::atomic<std::size_t> m_highWater{0};
  std::atomic<std::uint64_t> m_overflows{0};
  std::atomic<std::uint64_t> m_lostBytes{0};
  std::atomic<bool> m_producerWaiting{false};
  std::atomic<bool> m_consumerWaiting{false};
  std::atomic<bool> m_producerWoken{false};
  std::atomic<bool> m_consumerWoken{false};
};
