// The capture filter's reader on a real adapter: the whole transport stream
// (the demultiplexer's PID 0x2000 filter, output to the DVR device) read
// from the DVR device and handed to the filter's delivery (a ring its own
// streaming thread delivers from), so the device is drained whatever the
// disk does.
//
// Start opens the DVR device (non-blocking), enlarges its ring buffer
// (DMX_SET_BUFFER_SIZE: kDvrBufferBytes hold over half a second of the
// fastest DVB-S2 carrier, so a reader held up by the disk loses nothing),
// opens the demultiplexer and sets the whole-stream filter. A demultiplexer
// that refuses PID 0x2000 cannot hand on the whole stream; Start then fails
// and says so.
//
// The thread waits in poll() on the DVR device and an event counter; Stop
// writes the counter, so it never waits for a read, and returns when the
// thread has ended, then closes the devices. (Without a ring the thread
// delivers itself; the filter wakes it from a wait for a free sample.)
//
// An overflow of the DVR buffer (EOVERFLOW: the kernel dropped what it held)
// is counted and written to the backend's log; reading goes on. Any other
// read failure (the adapter was unplugged: ENODEV) ends the thread and is
// kept as the source's fault.
//
// Threads: Start and Stop on the graph's thread, without the filter's lock;
// the loop on its own thread. The counters are atomics; m_mutex guards the
// fault text.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/com/hresult.h"
#include "platform/linuxdvb/kernel_calls.h"
#include "platform/media/capture_source_status.h"

class CaptureDelivery;

namespace linuxdvb {

inline constexpr std::uint16_t kWholeStreamPid = 0x2000;
inline constexpr unsigned long kDvrBufferBytes = 16u * 1024 * 1024;

struct CaptureDevices {
  std::string label;  // "adapter 0 (STV090x Multistandard)"
  std::string demuxPath;
  std::string dvrPath;
};

class DvrReader {
 public:
  DvrReader(std::shared_ptr<KernelCalls> calls, CaptureDevices devices, CaptureDelivery& delivery);
  ~DvrReader();
  DvrReader(const DvrReader&) = delete;
  DvrReader& operator=(const DvrReader&) = delete;

  // S_OK when the thread runs (or already ran); else a negative status and
  // the reason in *failure, with nothing left open.
  HRESULT Start(std::string* failure);
  void Stop();

  CaptureSourceStatus Status();

 private:
  HRESULT OpenDevices(std::string* failure);
  void CloseDevices();
  void Loop();
  // One read, handed on; false when the thread is to end.
  bool ReadOnce();
  void SetFault(const std::string& fault);

  const std::shared_ptr<KernelCalls> m_calls;
  const CaptureDevices m_devices;
  CaptureDelivery& m_delivery;
  std::vector<std::uint8_t> m_buffer;  // the thread's

  // Opened by Start, closed by Stop; the thread only reads and polls them.
  DeviceFd m_dvr;
  DeviceFd m_demux;
  DeviceFd m_wake;
  std::thread m_thread;
  std::atomic<bool> m_stopping{false};

  std::atomic<std::uint64_t> m_overflows{0};
  std::atomic<std::uint64_t> m_bytesRead{0};
  std::mutex m_mutex;
  std::string m_fault;  // guarded by m_mutex
};

}  // namespace linuxdvb
