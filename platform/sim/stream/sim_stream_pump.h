// SimStreamPump: the simulated card's streaming thread. While started it
// takes an empty sample from the output pin's allocator, fills it with whole
// packets from the source, and delivers it downstream; paced at the bit
// rate through the injectable clock, or unpaced. After the configured
// packet limit (or the end of a replayed file) it delivers end of stream
// and ends.
//
// Threads: Start, Stop and the setters on the graph's or the card model's
// thread; the loop on its own thread, which never takes the filter's lock
// except to deliver end of stream. Stop must be called without the filter's
// lock; it returns when the thread has ended, so no sample is in flight.
// m_mutex guards the run state, the pending changes and the results.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/com/hresult.h"
#include "platform/sim/stream/sim_stream_config.h"
#include "platform/sim/stream/ts_source.h"

class CBaseOutputPin;
class TsGenerator;

class SimStreamPump {
 public:
  SimStreamPump(CBaseOutputPin* output, const SimCaptureConfig& config);
  ~SimStreamPump();
  SimStreamPump(const SimStreamPump&) = delete;
  SimStreamPump& operator=(const SimStreamPump&) = delete;

  void Start();
  void Stop();

  // Take effect at the next sample.
  void SetBitRate(std::uint64_t bitRate);
  void SetContent(const SimStreamContent& content);

  // Blocks until the stream has ended (true) or the pump stopped or a
  // delivery failed first (false).
  bool WaitForEndOfStream();
  std::uint64_t PacketsDelivered();
  // The first delivery result other than S_OK, or S_OK.
  HRESULT LastDeliveryResult();

 private:
  void Loop();
  // Waits until the packets sent so far are due; false when stopping.
  bool Pace(std::uint64_t packetsSent);
  void ApplyPendingChanges();
  // false while the signal feed says nothing is to be delivered (after a short wait).
  bool FollowSignal();
  void Finish(bool ended, HRESULT result);

  CBaseOutputPin* const m_output;
  const SimCaptureConfig m_config;
  TsGenerator* m_generator = nullptr;  // inside m_source when generating
  std::unique_ptr<TsSource> m_source;  // used by the loop only

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::thread m_thread;
  std::atomic<bool> m_stopping{false};
  bool m_running = false;
  bool m_ended = false;
  HRESULT m_result = S_OK;
  std::uint64_t m_delivered = 0;
  std::uint64_t m_bitRate;
  std::optional<std::uint64_t> m_pendingBitRate;
  std::optional<SimStreamContent> m_pendingContent;
  // Pacing reference: the clock time at which m_paceBasePackets were due.
  std::uint64_t m_paceBaseMs = 0;
  std::uint64_t m_paceBasePackets = 0;
};
