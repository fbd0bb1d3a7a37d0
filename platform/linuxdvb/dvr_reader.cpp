#include "platform/linuxdvb/dvr_reader.h"

#include <fcntl.h>
#include <linux/dvb/dmx.h>

#include <cerrno>

#include "platform/media/capture_delivery.h"

namespace linuxdvb {
namespace {

constexpr std::size_t kPacket = 188;
// One read takes up to this much of what the device holds.
constexpr std::size_t kReadBytes = 1392 * kPacket;

}  // namespace

DvrReader::DvrReader(std::shared_ptr<KernelCalls> calls, CaptureDevices devices, CaptureDelivery& delivery)
    : m_calls(std::move(calls)), m_devices(std::move(devices)), m_delivery(delivery), m_buffer(kReadBytes) {}

DvrReader::~DvrReader() { Stop(); }

HRESULT DvrReader::OpenDevices(std::string* failure) {
  const CallResult wake = m_calls->EventFd();
  if (!wake.Ok()) {
    *failure = m_devices.label + ": " + wake.Error().Describe();
    return HResultFromErrno(wake.Errno());
  }
  m_wake = DeviceFd(m_calls.get(), static_cast<int>(wake.Value()));

  const CallResult dvr = m_calls->Open(m_devices.dvrPath, O_RDONLY | O_NONBLOCK);
  if (!dvr.Ok()) {
    *failure = m_devices.label + ": the stream cannot be read: " + dvr.Error().Describe();
    const std::string holders =
        dvr.Errno() == EBUSY ? DescribeHolders(m_calls->Kernel().FindHolders(m_devices.dvrPath)) : "";
    if (!holders.empty()) *failure += "; it is held by " + holders;
    return HResultFromErrno(dvr.Errno());
  }
  m_dvr = DeviceFd(m_calls.get(), static_cast<int>(dvr.Value()));
  // A smaller buffer still works, only with less slack: go on.
  if (const CallResult sized = m_calls->Ioctl(m_dvr.Get(), DMX_SET_BUFFER_SIZE, kDvrBufferBytes); !sized.Ok())
    m_calls->Log(m_devices.label + ": the DVR buffer keeps its size: " + sized.Error().Describe());

  const CallResult demux = m_calls->Open(m_devices.demuxPath, O_RDWR);
  if (!demux.Ok()) {
    *failure = m_devices.label + ": the demultiplexer cannot be opened: " + demux.Error().Describe();
    return HResultFromErrno(demux.Errno());
  }
  m_demux = DeviceFd(m_calls.get(), static_cast<int>(demux.Value()));
  dmx_pes_filter_params filter{};
  filter.pid = kWholeStreamPid;
  filter.input = DMX_IN_FRONTEND;
  filter.output = DMX_OUT_TS_TAP;
  filter.pes_type = DMX_PES_OTHER;
  filter.flags = DMX_IMMEDIATE_START;
  if (const CallResult set = m_calls->Ioctl(m_demux.Get(), DMX_SET_PES_FILTER, &filter); !set.Ok()) {
    *failure = m_devices.label + ": its demultiplexer does not pass the whole transport stream (PID 0x2000), "
               "so nothing can be recorded from this adapter: " + set.Error().Describe();
    return HResultFromErrno(set.Errno());
  }
  return S_OK;
}

void DvrReader::CloseDevices() {
  if (m_demux.IsOpen()) m_calls->Ioctl(m_demux.Get(), DMX_STOP, std::uintptr_t{0});
  m_demux.Reset();
  m_dvr.Reset();
  m_wake.Reset();
}

HRESULT DvrReader::Start(std::string* failure) {
  if (m_thread.joinable()) return S_OK;
  if (const HRESULT hr = OpenDevices(failure); FAILED(hr)) {
    CloseDevices();
    SetFault(*failure);
    return hr;
  }
  SetFault("");
  m_stopping = false;
  m_thread = std::thread([this] { Loop(); });
  return S_OK;
}

void DvrReader::Stop() {
  if (m_thread.joinable()) {
    m_stopping = true;
    const std::uint64_t one = 1;
    m_calls->Write(m_wake.Get(), &one, sizeof one);
    m_thread.join();
  }
  CloseDevices();
}

CaptureSourceStatus DvrReader::Status() {
  CaptureSourceStatus status;
  status.overflows = m_overflows.load();
  status.bytesRead = m_bytesRead.load();
  std::lock_guard lock(m_mutex);
  status.fault = m_fault;
  return status;
}

void DvrReader::SetFault(const std::string& fault) {
  std::lock_guard lock(m_mutex);
  m_fault = fault;
}

void DvrReader::Loop() {
  while (!m_stopping) {
    pollfd fds[2] = {{m_dvr.Get(), POLLIN, 0}, {m_wake.Get(), POLLIN, 0}};
    const CallResult ready = m_calls->Poll(fds, 2, -1);
    if (!ready.Ok()) {
      SetFault(m_devices.label + ": " + ready.Error().Describe());
      break;
    }
    if (fds[1].revents || m_stopping) break;
    // An overflow shows as POLLERR; the read reports it.
    if ((fds[0].revents & (POLLIN | POLLERR)) && !ReadOnce()) break;
    if (fds[0].revents & (POLLHUP | POLLNVAL)) {
      SetFault(m_devices.label + ": the DVR device went away");
      break;
    }
  }
  if (!m_stopping) m_calls->Log(m_devices.label + ": capture ended: " + Status().fault);
}

bool DvrReader::ReadOnce() {
  // Straight into the ring where it has room; else into the reader's own
  // buffer, so the device is drained even when the ring is full (the
  // delivery then counts the loss) or absent (the reader delivers).
  // Whole packets: the kernel's buffer holds whole packets, so reads stay aligned.
  const std::span<std::uint8_t> room = m_delivery.Reserve(kReadBytes, false);
  const bool inPlace = !room.empty();
  std::uint8_t* into = inPlace ? room.data() : m_buffer.data();
  const CallResult read = m_calls->Read(m_dvr.Get(), into, inPlace ? room.size() : m_buffer.size());
  if (!read.Ok()) {
    switch (read.Errno()) {
      case EOVERFLOW: {
        const std::uint64_t count = ++m_overflows;
        m_calls->Log(m_devices.label + ": the DVR buffer overflowed, stream data lost (" + std::to_string(count) +
                     (count == 1 ? " time)" : " times)"));
        return true;
      }
      case EAGAIN: return true;
      default: SetFault(m_devices.label + ": " + read.Error().Describe()); return false;
    }
  }
  if (read.Value() == 0) return true;
  const auto bytes = static_cast<std::size_t>(read.Value());
  m_bytesRead += bytes;
  if (inPlace) return m_delivery.Commit(bytes);
  // A device cannot wait: a full ring loses data, counted there.
  return m_delivery.Accept(m_buffer.data(), bytes, false);
}
}  // namespace linuxdvb
