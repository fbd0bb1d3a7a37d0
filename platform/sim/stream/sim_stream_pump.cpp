#include "platform/sim/stream/sim_stream_pump.h"

#include <algorithm>
#include <utility>

#include "platform/com/clock.h"
#include "platform/media/capture_delivery.h"
#include "platform/sim/stream/ts_generator.h"

namespace {
constexpr std::size_t kPacket = 188;
// The longest single wait, so that Stop is answered promptly.
constexpr std::uint64_t kMaxWaitMs = 10;
}  // namespace

SimStreamPump::SimStreamPump(CaptureDelivery& delivery, const SimCaptureConfig& config)
    : m_delivery(delivery),
      m_config(config),
      m_chunkPackets(static_cast<std::size_t>(std::max(config.packetsPerSample, 1))),
      m_chunk(m_chunkPackets * kPacket),
      m_bitRate(std::max<std::uint64_t>(config.bitRate, 1)) {
  m_source = MakeTsSource(m_config, &m_generator);
}

SimStreamPump::~SimStreamPump() { Stop(); }

void SimStreamPump::Start() {
  std::thread finished;  // a thread that ended on its own, joined outside the lock
  {
    std::lock_guard lock(m_mutex);
    if (m_running || m_ended) return;
    finished = std::move(m_thread);
  }
  if (finished.joinable()) finished.join();
  std::lock_guard lock(m_mutex);
  if (m_generator) m_generator->ForgetBuffers();
  m_stopping = false;
  m_running = true;
  m_paceBaseMs = TickCountMs();
  m_paceBasePackets = m_delivered;
  m_thread = std::thread([this] { Loop(); });
}

void SimStreamPump::Stop() {
  {
    std::lock_guard lock(m_mutex);
    if (!m_thread.joinable()) return;
    m_stopping = true;
  }
  m_changed.notify_all();
  m_thread.join();
  std::lock_guard lock(m_mutex);
  m_running = false;
  m_changed.notify_all();
}

void SimStreamPump::SetBitRate(std::uint64_t bitRate) {
  std::lock_guard lock(m_mutex);
  m_pendingBitRate = std::max<std::uint64_t>(bitRate, 1);
}

void SimStreamPump::SetContent(const SimStreamContent& content) {
  std::lock_guard lock(m_mutex);
  m_pendingContent = content;
}

bool SimStreamPump::WaitForEndOfStream() {
  {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_ended || !m_running || m_stopping; });
    if (!m_ended) return false;
  }
  // The delivery hands on what it still holds, then says so.
  while (!m_delivery.Ended() && m_delivery.DeliveryResult() == S_OK) Sleep(1);
  return m_delivery.Ended();
}

std::uint64_t SimStreamPump::PacketsDelivered() {
  std::lock_guard lock(m_mutex);
  return m_delivered;
}

void SimStreamPump::ApplyPendingChanges() {
  std::optional<std::uint64_t> bitRate;
  std::optional<SimStreamContent> content;
  {
    std::lock_guard lock(m_mutex);
    if (m_pendingBitRate) {
      m_paceBaseMs = TickCountMs();
      m_paceBasePackets = m_delivered;
      m_bitRate = *m_pendingBitRate;
      bitRate = std::exchange(m_pendingBitRate, std::nullopt);
    }
    content = std::exchange(m_pendingContent, std::nullopt);
  }
  // The generator is the loop's alone; a new test card takes a moment to code.
  if (m_generator && bitRate) m_generator->SetBitRate(*bitRate);
  if (m_generator && content) m_generator->SetContent(*content);
}

bool SimStreamPump::FollowSignal() {
  if (!m_config.signal) return true;
  SimSignalFeed feed = m_config.signal();
  std::lock_guard lock(m_mutex);
  if (!feed.delivering) {
    // No carrier: nothing arrives, and pacing starts afresh when it does.
    m_paceBaseMs = TickCountMs() + kMaxWaitMs;
    m_paceBasePackets = m_delivered;
    return false;
  }
  if (feed.bitRate != 0 && feed.bitRate != m_bitRate) m_pendingBitRate = feed.bitRate;
  if (feed.content) m_pendingContent = std::move(feed.content);
  return true;
}

std::optional<std::uint64_t> SimStreamPump::ChunksDue(std::uint64_t chunksSent) {
  if (m_config.pacing == SimPacing::Unpaced) {
    if (m_stopping) return std::nullopt;
    return 1;
  }
  for (;;) {
    if (m_stopping) return std::nullopt;
    std::uint64_t arrived;
    {
      std::lock_guard lock(m_mutex);
      const std::uint64_t now = TickCountMs();
      const std::uint64_t elapsedMs = now > m_paceBaseMs ? now - m_paceBaseMs : 0;
      const auto bits = static_cast<unsigned __int128>(elapsedMs) * m_bitRate / 1000;
      arrived = m_paceBasePackets + static_cast<std::uint64_t>(bits / (kPacket * 8));
    }
    const std::uint64_t chunks = arrived / m_chunkPackets;
    if (chunks > chunksSent) return chunks - chunksSent;
    Sleep(static_cast<std::uint32_t>(kMaxWaitMs / 2));
  }
}

void SimStreamPump::ForgetBuffersIfRingMemoryChanged() {
  const std::uint64_t allocations = CaptureRing::BlockAllocations();
  if (allocations == m_ringAllocations) return;
  m_ringAllocations = allocations;
  // A new block may sit where a freed one was: its bytes are not what the generator left there.
  if (m_generator) m_generator->ForgetBuffers();
}

void SimStreamPump::Finish(bool ended) {
  if (ended) m_delivery.EndOfStream();
  std::lock_guard lock(m_mutex);
  m_ended = ended;
  m_running = false;
  m_changed.notify_all();
}

void SimStreamPump::Loop() {
  const bool device = m_config.pacing == SimPacing::BitRate;
  std::uint64_t sent = PacketsDelivered();
  std::uint64_t heldUpMs = 0;  // how long the last hand-over kept the reader from the device
  while (!m_stopping) {
    if (!FollowSignal()) {
      Sleep(static_cast<std::uint32_t>(kMaxWaitMs));
      continue;
    }
    ApplyPendingChanges();
    const std::optional<std::uint64_t> due = ChunksDue(sent / m_chunkPackets);
    if (!due) break;
    // More than the card's buffer holds arrived unread while the reader was
    // held up handing data on (no ring, a stalled disk): it overflowed, and
    // everything in it is lost. A buffer's worth is made and dropped, so the
    // stream shows the gap (its continuity counters jump). A gap with no such
    // hold-up is the clock jumping (a test's clock, a suspended machine): the
    // stream goes on from now, as a card that was not being fed.
    const std::uint64_t bufferChunks = kDeviceBufferBytes / (m_chunkPackets * kPacket) + 1;
    const bool behind = device && *due > bufferChunks;
    const bool overflowed = behind && heldUpMs * m_bitRate / 8000 > kDeviceBufferBytes;
    if (behind) {
      if (overflowed) ++m_overflows;
      std::lock_guard lock(m_mutex);
      m_paceBaseMs = TickCountMs();
      m_paceBasePackets = m_delivered + (overflowed ? bufferChunks : 1) * m_chunkPackets;
    }
    const std::uint64_t chunks = overflowed ? bufferChunks : behind ? 1 : *due;
    for (std::uint64_t chunk = 0; chunk < chunks && !m_stopping; ++chunk) {
      std::size_t wanted = m_chunkPackets;
      if (m_config.packetLimit != 0) {
        if (sent >= m_config.packetLimit) return Finish(true);
        wanted = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, m_config.packetLimit - sent));
      }
      // Made straight in the ring where a chunk fits; else in the pump's own
      // buffer and handed over (no ring, a full ring, a chunk to drop).
      std::span<std::uint8_t> room;
      if (!overflowed) room = m_delivery.Reserve(wanted * kPacket, !device);
      const bool inPlace = room.size() >= wanted * kPacket;
      if (inPlace) ForgetBuffersIfRingMemoryChanged();
      const std::size_t filled = m_source->Fill(inPlace ? room.data() : m_chunk.data(), wanted);
      if (filled == 0) return Finish(true);
      sent += filled;
      {
        std::lock_guard lock(m_mutex);
        m_delivered = sent;
      }
      if (overflowed) continue;  // made and lost: the stream goes on after the gap
      // The generator's reuse of buffers it filled before must not meet ring memory written by a copy.
      if (!inPlace && m_generator && m_delivery.HasRing()) m_generator->ForgetBuffers();
      const std::uint64_t handing = TickCountMs();
      const bool goOn = inPlace ? m_delivery.Commit(filled * kPacket)
                                : m_delivery.Accept(m_chunk.data(), filled * kPacket, !device);
      heldUpMs = TickCountMs() - handing;
      if (!goOn) {
        if (m_delivery.DeliveryResult() != S_OK) return Finish(false);
        break;  // stopping
      }
    }
  }
  std::lock_guard lock(m_mutex);
  m_running = false;
  m_changed.notify_all();
}
