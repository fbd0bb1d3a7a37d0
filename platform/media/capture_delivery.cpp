#include "platform/media/capture_delivery.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/media/base_output_pin.h"

CaptureDelivery::~CaptureDelivery() { Stop(); }

void CaptureDelivery::Start() {
  if (m_thread.joinable()) return;
  m_stopping = false;
  m_endOfStream = false;
  m_ended = false;
  m_result = S_OK;
  // A pause may have decommitted the pool to wake the previous reader.
  if (IMemAllocator* allocator = m_output->DeliveryAllocator()) allocator->Commit();
  m_ring = m_ringBytes ? std::make_unique<CaptureRing>(m_ringBytes, m_alignPackets) : nullptr;
  if (m_ring) m_thread = std::thread([this] { Loop(); });
}

void CaptureDelivery::WakeReader() {
  m_stopping = true;
  // A replay waiting for room. Without a ring the reader finishes
  // delivering what it read: the backend's stop wakes its own waits.
  if (m_ring) m_ring->WakeProducer();
}

void CaptureDelivery::Stop() {
  m_stopping = true;
  if (m_ring) m_ring->WakeConsumer();
  if (m_thread.joinable()) m_thread.join();
}

void CaptureDelivery::Fail(HRESULT hr) {
  HRESULT ok = S_OK;
  m_result.compare_exchange_strong(ok, hr);
}

bool CaptureDelivery::DeliverNow(const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    IMediaSample* sample = nullptr;
    const HRESULT got = m_output->GetDeliveryBuffer(&sample);
    if (FAILED(got)) {
      if (got != VFW_E_NOT_COMMITTED || !m_stopping) Fail(got);
      return false;
    }
    BYTE* buffer = nullptr;
    if (FAILED(sample->GetPointer(&buffer))) {
      sample->Release();
      Fail(E_POINTER);
      return false;
    }
    const std::size_t room = static_cast<std::size_t>(sample->GetSize()) / CaptureRing::kPacket * CaptureRing::kPacket;
    const std::size_t chunk = std::min(size, room);
    std::memcpy(buffer, data, chunk);
    sample->SetActualDataLength(static_cast<LONG>(chunk));
    const HRESULT delivered = m_output->Deliver(sample);
    sample->Release();
    if (delivered != S_OK) {
      Fail(delivered);  // downstream refused or wants no more
      return false;
    }
    data += chunk;
    size -= chunk;
  }
  return true;
}

bool CaptureDelivery::Accept(const std::uint8_t* data, std::size_t size, bool canWait) {
  if (m_result.load() != S_OK) return false;
  // What the device gave is delivered even as a stop begins.
  if (!m_ring) return DeliverNow(data, size) && !m_stopping;
  if (!canWait) {
    m_ring->Push(data, size);
    return !m_stopping;
  }
  return m_ring->PushWaiting(data, size) && !m_stopping;
}

std::span<std::uint8_t> CaptureDelivery::Reserve(std::size_t most, bool canWait) {
  if (!m_ring || m_result.load() != S_OK) return {};
  return canWait ? m_ring->FreeSpanWaiting(most) : m_ring->FreeSpan(most);
}

bool CaptureDelivery::Commit(std::size_t bytes) {
  m_ring->Commit(bytes - bytes % CaptureRing::kPacket);
  return !m_stopping && m_result.load() == S_OK;
}

void CaptureDelivery::EndOfStream() {
  if (m_ring) {
    m_endOfStream = true;
    m_ring->WakeConsumer();  // the streaming thread drains, then says so
    return;
  }
  m_output->DeliverEndOfStream();
  m_ended = true;
}

void CaptureDelivery::Loop() {
  for (;;) {
    // Up to a block in one sample, in place: the sink writes it in one go.
    const std::span<const std::uint8_t> bytes = m_ring->WaitForData(m_ring->BlockBytes());
    if (bytes.empty()) {
      // Woken with nothing left: the end, or a stop with everything delivered.
      if (m_endOfStream) {
        m_output->DeliverEndOfStream();
        m_ended = true;
        return;
      }
      if (m_stopping) return;
      continue;
    }
    m_sample.Point(bytes);
    const HRESULT delivered = m_output->Deliver(&m_sample);
    // A filter that keeps a sample past Receive holds its bytes in the ring
    // until it lets go, as a pool of one buffer would hold the next delivery.
    while (m_sample.HeldElsewhere() > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    m_ring->Consume(bytes.size());
    if (delivered != S_OK) {
      Fail(delivered);
      m_ring->WakeProducer();  // a replay waiting for room must not wait for ever
      return;
    }
  }
}

void CaptureDelivery::AddRingStatus(CaptureSourceStatus* status) const {
  if (!m_ring) return;
  status->ringCapacityBytes = m_ring->Capacity();
  status->ringHighWaterBytes = m_ring->HighWater();
  status->ringOverflows = m_ring->Overflows();
  status->ringLostBytes = m_ring->LostBytes();
}
