#include "platform/sim/stream/sim_stream_pump.h"

#include <algorithm>
#include <utility>

#include "platform/com/clock.h"
#include "platform/media/base_output_pin.h"
#include "platform/sim/stream/ts_generator.h"

namespace {
constexpr std::size_t kPacket = 188;
// The longest single wait, so that Stop is answered promptly.
constexpr std::uint64_t kMaxWaitMs = 10;
}  // namespace

SimStreamPump::SimStreamPump(CBaseOutputPin* output, const SimCaptureConfig& config)
    : m_output(output), m_config(config), m_bitRate(std::max<std::uint64_t>(config.bitRate, 1)) {
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
  // A pause may have decommitted the pool to wake the previous thread.
  if (IMemAllocator* allocator = m_output->DeliveryAllocator()) allocator->Commit();
  // The pool may have been freed and made again while stopped.
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
  // Wakes a thread blocked in GetBuffer; the pin's own deactivation follows.
  if (IMemAllocator* allocator = m_output->DeliveryAllocator()) allocator->Decommit();
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
  std::unique_lock lock(m_mutex);
  m_changed.wait(lock, [this] { return m_ended || !m_running || m_stopping; });
  return m_ended;
}

std::uint64_t SimStreamPump::PacketsDelivered() {
  std::lock_guard lock(m_mutex);
  return m_delivered;
}

HRESULT SimStreamPump::LastDeliveryResult() {
  std::lock_guard lock(m_mutex);
  return m_result;
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
    // No carrier: wait, and pace afresh from the moment data flows again.
    m_paceBaseMs = TickCountMs() + kMaxWaitMs;
    m_paceBasePackets = m_delivered;
    return false;
  }
  if (feed.bitRate != 0 && feed.bitRate != m_bitRate) m_pendingBitRate = feed.bitRate;
  if (feed.content) m_pendingContent = std::move(feed.content);
  return true;
}

bool SimStreamPump::Pace(std::uint64_t packetsSent) {
  if (m_config.pacing == SimPacing::Unpaced) return !m_stopping;
  for (;;) {
    std::uint64_t dueMs;
    {
      std::lock_guard lock(m_mutex);
      const unsigned __int128 bits = static_cast<unsigned __int128>(packetsSent - m_paceBasePackets) * kPacket * 8;
      dueMs = m_paceBaseMs + static_cast<std::uint64_t>(bits * 1000 / m_bitRate);
    }
    if (m_stopping) return false;
    const std::uint64_t now = TickCountMs();
    if (now >= dueMs) return true;
    Sleep(static_cast<std::uint32_t>(std::min(dueMs - now, kMaxWaitMs)));
  }
}

void SimStreamPump::Finish(bool ended, HRESULT result) {
  std::lock_guard lock(m_mutex);
  m_ended = ended;
  if (m_result == S_OK) m_result = result;
  m_running = false;
  m_changed.notify_all();
}

void SimStreamPump::Loop() {
  std::uint64_t sent = PacketsDelivered();
  while (!m_stopping) {
    if (!FollowSignal()) {
      Sleep(static_cast<std::uint32_t>(kMaxWaitMs));
      continue;
    }
    ApplyPendingChanges();
    std::size_t wanted = static_cast<std::size_t>(std::max(m_config.packetsPerSample, 1));
    if (m_config.packetLimit != 0) {
      if (sent >= m_config.packetLimit) {
        m_output->DeliverEndOfStream();
        return Finish(true, S_OK);
      }
      wanted = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, m_config.packetLimit - sent));
    }
    if (!Pace(sent)) break;

    IMediaSample* sample = nullptr;
    HRESULT hr = m_output->GetDeliveryBuffer(&sample);
    if (FAILED(hr)) {
      if (hr == VFW_E_NOT_COMMITTED && m_stopping) break;  // woken by Stop
      return Finish(false, hr);
    }
    BYTE* data = nullptr;
    hr = sample->GetPointer(&data);
    if (FAILED(hr)) {
      sample->Release();
      return Finish(false, hr);
    }
    wanted = std::min(wanted, static_cast<std::size_t>(sample->GetSize()) / kPacket);
    const std::size_t filled = m_source->Fill(data, wanted);
    if (filled == 0) {
      sample->Release();
      m_output->DeliverEndOfStream();
      return Finish(true, S_OK);
    }
    sample->SetActualDataLength(static_cast<LONG>(filled * kPacket));
    hr = m_output->Deliver(sample);
    sample->Release();
    sent += filled;
    {
      std::lock_guard lock(m_mutex);
      m_delivered = sent;
    }
    if (hr != S_OK) return Finish(false, hr);  // downstream refused or wants no more
  }
  std::lock_guard lock(m_mutex);
  m_changed.notify_all();
}
