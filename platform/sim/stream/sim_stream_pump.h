// SimStreamPump: the simulated card's capture reader. While started it makes
// the card's stream in chunks of whole packets (one sample's worth) from the
// source and hands them to the filter's delivery (capture_delivery.h),
// paced at the bit rate through the injectable clock, or unpaced.
//
// Paced, it models the card's own buffer as a real driver's: the stream
// arrives at the bit rate whether or not anyone reads it, into a buffer of
// kDeviceBufferBytes (the size the Linux backend asks of the DVR device).
// What arrived since the last read is read at once; when it is more than the
// buffer holds because the reader was held up handing data on (no ring, a
// stalled disk), the buffer has overflowed: a buffer's worth is lost (the
// stream jumps, as after a real overflow), counted, and reading goes on. A
// gap without such a hold-up is the clock jumping and loses nothing. Unpaced (a
// benchmark, a test), the source waits for room instead.
//
// After the configured packet limit (or the end of a replayed file) it
// signals end of stream and ends.
//
// Threads: Start, Stop and the setters on the graph's or the card model's
// thread; the loop on its own thread. Stop returns when the thread has ended
// (the delivery's own stop follows). m_mutex guards the run state, the
// pending changes and the results.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/com/hresult.h"
#include "platform/sim/stream/sim_stream_config.h"
#include "platform/sim/stream/ts_source.h"

class CaptureDelivery;
class TsGenerator;

class SimStreamPump {
 public:
  // 16 MiB, as the Linux DVR device is asked for.
  static constexpr std::uint64_t kDeviceBufferBytes = 16u * 1024 * 1024;

  SimStreamPump(CaptureDelivery& delivery, const SimCaptureConfig& config);
  ~SimStreamPump();
  SimStreamPump(const SimStreamPump&) = delete;
  SimStreamPump& operator=(const SimStreamPump&) = delete;

  void Start();
  void Stop();

  // Take effect at the next chunk.
  void SetBitRate(std::uint64_t bitRate);
  void SetContent(const SimStreamContent& content);

  // Blocks until the stream has ended and been delivered (true) or the pump
  // stopped or a delivery failed first (false).
  bool WaitForEndOfStream();
  std::uint64_t PacketsDelivered();
  // Times the modelled device buffer overflowed.
  std::uint64_t Overflows() const { return m_overflows.load(); }

 private:
  void Loop();
  // The chunks that have arrived by now and are not yet read (paced), or
  // one (unpaced); none when stopping.
  std::optional<std::uint64_t> ChunksDue(std::uint64_t chunksSent);
  void ApplyPendingChanges();
  // false while the signal feed says nothing is to be delivered (after a short wait).
  bool FollowSignal();
  void Finish(bool ended);
  // Before the generator writes into ring memory: blocks allocated since it
  // last did may lie where others were.
  void ForgetBuffersIfRingMemoryChanged();

  CaptureDelivery& m_delivery;
  const SimCaptureConfig m_config;
  const std::size_t m_chunkPackets;
  TsGenerator* m_generator = nullptr;  // inside m_source when generating
  std::unique_ptr<TsSource> m_source;  // used by the loop only
  std::vector<std::uint8_t> m_chunk;   // the loop's
  std::uint64_t m_ringAllocations = 0;  // the loop's

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::thread m_thread;
  std::atomic<bool> m_stopping{false};
  std::atomic<std::uint64_t> m_overflows{0};
  bool m_running = false;
  bool m_ended = false;
  std::uint64_t m_delivered = 0;  // packets
  std::uint64_t m_bitRate;
  std::optional<std::uint64_t> m_pendingBitRate;
  std::optional<SimStreamContent> m_pendingContent;
  // Pacing reference: the clock time at which m_paceBasePackets had arrived.
  std::uint64_t m_paceBaseMs = 0;
  std::uint64_t m_paceBasePackets = 0;
};
