// CaptureDelivery: how a card's capture filter hands its stream downstream.
// The backend's reader thread drains the device into a CaptureRing (in
// place where it can: Reserve, Commit; else Accept copies) and this
// object's own streaming thread delivers from it, each sample pointing at
// the ring's bytes (no copy) and up to a block long, so the sink writes in
// large pieces. A stalled disk holds up the streaming thread and not the
// reader: the device's small buffer keeps being drained while the ring
// fills. Without a ring (size 0) the reader delivers itself through the
// output pin's pool, as it must wait for the downstream.
//
// Order at a stop: the reader ends first (WakeReader breaks its waits), then
// Stop lets the streaming thread deliver what the ring still holds, so no
// byte the device gave is dropped, and returns when no sample is in flight.
//
// Threads: Start, WakeReader and Stop on the graph's thread; Accept,
// Reserve, Commit and EndOfStream on the reader's; the counters from any.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "platform/com/hresult.h"
#include "platform/media/capture_ring.h"
#include "platform/media/capture_ring_size.h"
#include "platform/media/ring_sample.h"
#include "platform/media/capture_source_status.h"

class CBaseOutputPin;

class CaptureDelivery {
 public:
  explicit CaptureDelivery(CBaseOutputPin* output) : m_output(output) {}
  ~CaptureDelivery();
  CaptureDelivery(const CaptureDelivery&) = delete;
  CaptureDelivery& operator=(const CaptureDelivery&) = delete;

  // The ring's size for the next Start; 0: none. alignPackets: how many
  // packets the reader makes at a time (capture_ring.h).
  void SetRingBytes(std::size_t bytes, std::size_t alignPackets = 1) {
    m_ringBytes = bytes;
    m_alignPackets = alignPackets;
  }

  void Start();
  // Breaks the reader's waits for room or a free sample.
  void WakeReader();
  // After the reader has ended: delivers the rest, then ends.
  void Stop();

  // The reader's bytes (whole packets). A device cannot wait (canWait
  // false): with the ring full what does not fit is lost and counted. A
  // replayed file can. False once the reader should end (a stop, or the
  // downstream refused a sample).
  bool Accept(const std::uint8_t* data, std::size_t size, bool canWait);
  // The same without a copy: the ring's free space for at most `most`
  // bytes, to read or make packets into, then Commit. Empty without a ring
  // or with it full (a device then reads into its own buffer and hands that
  // to Accept, which counts the loss); canWait waits for room instead.
  std::span<std::uint8_t> Reserve(std::size_t most, bool canWait);
  bool Commit(std::size_t bytes);
  // The source has no more: after what was accepted, end of stream.
  void EndOfStream();

  bool HasRing() const { return m_ring != nullptr; }
  // The ring's counters (zero without a ring), into status.
  void AddRingStatus(CaptureSourceStatus* status) const;
  // The first delivery result other than S_OK, or S_OK.
  HRESULT DeliveryResult() const { return m_result.load(); }
  // The stream has been delivered to its end.
  bool Ended() const { return m_ended.load(); }

 private:
  void Loop();
  // One sample of up to `size` bytes; false when delivery should end.
  bool DeliverNow(const std::uint8_t* data, std::size_t size);
  void Fail(HRESULT hr);

  CBaseOutputPin* const m_output;
  std::size_t m_ringBytes = kDefaultCaptureRingBytes;
  std::size_t m_alignPackets = 1;
  std::unique_ptr<CaptureRing> m_ring;  // made at Start, kept for its counters
  RingSample m_sample;                  // the streaming thread's
  std::thread m_thread;
  std::atomic<bool> m_stopping{false};
  std::atomic<bool> m_endOfStream{false};
  std::atomic<bool> m_ended{false};
  std::atomic<HRESULT> m_result{S_OK};
};
