#include "platform/media/capture_ring.h"

#include <algorithm>
#include <cstring>

namespace {

std::size_t BlockBytesFor(std::size_t capacity, std::size_t alignPackets) {
  std::size_t packets = std::clamp<std::size_t>(capacity / 64 / CaptureRing::kPacket, 1,
                                                CaptureRing::kMaxBlockBytes / CaptureRing::kPacket);
  if (alignPackets > 1 && packets >= alignPackets) packets -= packets % alignPackets;
  return packets * CaptureRing::kPacket;
}

}  // namespace

std::atomic<std::uint64_t> CaptureRing::s_blockAllocations{0};

CaptureRing::CaptureRing(std::size_t capacityBytes, std::size_t alignPackets)
    : m_blockBytes(BlockBytesFor(capacityBytes, alignPackets)),
      m_maxBlocks(std::max<std::size_t>(capacityBytes / m_blockBytes, 1)) {}

CaptureRing::~CaptureRing() = default;

std::size_t CaptureRing::BlocksAllocated() const {
  std::lock_guard lock(m_mutex);
  return m_allocated;
}

void CaptureRing::Notify(std::atomic<bool>& waiting) {
  // The count was published (seq_cst) before this load, and a waiter sets
  // its flag before it checks the count: one of the two sees the other, so
  // no wake-up is lost, and a side that is not waiting costs no lock.
  if (!waiting.load()) return;
  { std::lock_guard lock(m_mutex); }
  m_changed.notify_all();
}

bool CaptureRing::ProducerHasRoomLocked() const {
  const Block* block = m_produce.load();
  return (block && block->written.load() < m_blockBytes) || m_queue.size() < m_maxBlocks;
}

CaptureRing::Block* CaptureRing::NextProducerBlockLocked() {
  if (m_queue.size() >= m_maxBlocks) return nullptr;
  std::unique_ptr<Block> block;
  if (!m_spares.empty()) {
    block = std::move(m_spares.back());
    m_spares.pop_back();
  } else {
    block = std::make_unique<Block>(m_blockBytes);
    ++m_allocated;
    ++s_blockAllocations;
  }
  block->written.store(0);
  Block* next = block.get();
  m_queue.push_back(std::move(block));
  m_produce.store(next);
  return next;
}

std::span<std::uint8_t> CaptureRing::FreeSpan(std::size_t most) {
  Block* block = m_produce.load();
  if (!block || block->written.load(std::memory_order_relaxed) == m_blockBytes) {
    std::lock_guard lock(m_mutex);
    block = NextProducerBlockLocked();
    if (!block) return {};
  }
  const std::size_t at = block->written.load(std::memory_order_relaxed);
  std::size_t size = std::min(m_blockBytes - at, most);
  size -= size % kPacket;
  return {block->data.get() + at, size};
}

std::span<std::uint8_t> CaptureRing::FreeSpanWaiting(std::size_t most) {
  // A producer that can wait needs no slack: it keeps a few blocks ahead,
  // so the blocks go round warm instead of the whole capacity being filled.
  const auto ahead = [&] {
    const Block* block = m_produce.load();
    const bool blockFull = !block || block->written.load() == m_blockBytes;
    return blockFull && m_queue.size() >= kWaitingLeadBlocks;
  };
  {
    std::unique_lock lock(m_mutex);
    if (ahead() || !ProducerHasRoomLocked()) {
      m_producerWaiting = true;
      m_changed.wait(lock, [&] { return m_producerWoken.load() || (!ahead() && ProducerHasRoomLocked()); });
      m_producerWaiting = false;
      if (m_producerWoken.load() && !ProducerHasRoomLocked()) return {};
    }
  }
  return FreeSpan(most);
}

void CaptureRing::Commit(std::size_t bytes) {
  if (bytes == 0) return;
  Block* block = m_produce.load();
  block->written.store(block->written.load(std::memory_order_relaxed) + bytes, std::memory_order_release);
  const std::uint64_t written = m_written.load(std::memory_order_relaxed) + bytes;
  m_written.store(written);
  const std::size_t fill = static_cast<std::size_t>(written - m_read.load());
  std::size_t high = m_highWater.load(std::memory_order_relaxed);
  while (fill > high && !m_highWater.compare_exchange_weak(high, fill)) {
  }
  Notify(m_consumerWaiting);
}

void CaptureRing::CountLost(std::size_t bytes) {
  if (bytes == 0) return;
  ++m_overflows;
  m_lostBytes += bytes;
}

std::size_t CaptureRing::Push(const std::uint8_t* data, std::size_t size) {
  size -= size % kPacket;
  std::size_t taken = 0;
  while (taken < size) {
    const std::span<std::uint8_t> span = FreeSpan(size - taken);
    if (span.empty()) break;
    std::memcpy(span.data(), data + taken, span.size());
    Commit(span.size());
    taken += span.size();
  }
  if (taken < size) CountLost(size - taken);
  return taken;
}

bool CaptureRing::PushWaiting(const std::uint8_t* data, std::size_t size) {
  size -= size % kPacket;
  while (size > 0) {
    const std::span<std::uint8_t> span = FreeSpanWaiting(size);
    if (span.empty()) return false;  // woken while full: what did not fit is not taken
    std::memcpy(span.data(), data, span.size());
    Commit(span.size());
    data += span.size();
    size -= span.size();
  }
  return true;
}

void CaptureRing::RecycleConsumerBlock() {
  {
    std::lock_guard lock(m_mutex);
    std::unique_ptr<Block> block = std::move(m_queue.front());
    m_queue.pop_front();
    // The producer may still hold a full block as its own: that one stays.
    if (m_spares.size() < kKeptSpares || block.get() == m_produce.load()) {
      m_spares.push_back(std::move(block));
    } else {
      --m_allocated;
    }
  }
  m_consume = nullptr;
  m_consumeAt = 0;
  Notify(m_producerWaiting);  // a block's room is back
}

std::span<const std::uint8_t> CaptureRing::Peek(std::size_t most) {
  for (;;) {
    if (!m_consume) {
      std::lock_guard lock(m_mutex);
      if (m_queue.empty()) return {};
      m_consume = m_queue.front().get();
    }
    const std::size_t written = m_consume->written.load(std::memory_order_acquire);
    if (m_consumeAt == m_blockBytes) {
      RecycleConsumerBlock();  // read to its end: the next block, if any
      continue;
    }
    std::size_t size = std::min(written - m_consumeAt, most);
    size -= size % kPacket;
    return {m_consume->data.get() + m_consumeAt, size};
  }
}

std::span<const std::uint8_t> CaptureRing::WaitForData(std::size_t most) {
  if (const auto span = Peek(most); !span.empty() || most < kPacket) return span;
  {
    std::unique_lock lock(m_mutex);
    m_consumerWaiting = true;
    m_changed.wait(lock, [&] { return m_consumerWoken.load() || Fill() > 0; });
    m_consumerWaiting = false;
  }
  return Peek(most);
}

void CaptureRing::Consume(std::size_t bytes) {
  if (bytes == 0) return;
  m_consumeAt += bytes;
  m_read.store(m_read.load(std::memory_order_relaxed) + bytes);
  if (m_consumeAt == m_blockBytes) RecycleConsumerBlock();
  else Notify(m_producerWaiting);
}

void CaptureRing::WakeProducer() {
  {
    std::lock_guard lock(m_mutex);
    m_producerWoken = true;
  }
  m_changed.notify_all();
}

void CaptureRing::WakeConsumer() {
  {
    std::lock_guard lock(m_mutex);
    m_consumerWoken = true;
  }
  m_changed.notify_all();
}
