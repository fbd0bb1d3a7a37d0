#include "platform/linuxdvb/dvr_reader.h"

#include <fcntl.h>
#include <linux/dvb/dmx.h>

#include <cerrno>

#include "platform/media/base_output_pin.h"
#include "platform/ui/debug_output.h"

namespace linuxdvb {
namespace {

constexpr std::size_t kPacket = 188;

}  // namespace

DvrReader::DvrReader(std::shared_ptr<KernelCalls> calls, CaptureDevices devices, CBaseOutputPin* output)
    : m_calls(std::move(calls)), m_devices(std::move(devices)), m_output(output) {}

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
    OutputDebugString(m_devices.label + ": the DVR buffer keeps its size: " + sized.Error().Describe());

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
  // A pause may have decommitted the pool to wake the previous thread.
  if (IMemAllocator* allocator = m_output->DeliveryAllocator()) allocator->Commit();
  m_stopping = false;
  m_thread = std::thread([this] { Loop(); });
  return S_OK;
}

void DvrReader::Stop() {
  if (m_thread.joinable()) {
    m_stopping = true;
    const std::uint64_t one = 1;
    m_calls->Write(m_wake.Get(), &one, sizeof one);
    // Wakes a thread waiting in GetBuffer; the pin's own deactivation follows.
    if (IMemAllocator* allocator = m_output->DeliveryAllocator()) allocator->Decommit();
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
  if (!m_stopping) OutputDebugString(m_devices.label + ": capture ended: " + Status().fault);
}

bool DvrReader::ReadOnce() {
  IMediaSample* sample = nullptr;
  const HRESULT got = m_output->GetDeliveryBuffer(&sample);
  if (FAILED(got)) {
    if (got != VFW_E_NOT_COMMITTED || !m_stopping)
      SetFault(m_devices.label + ": no sample buffer for the stream");
    return false;
  }
  BYTE* data = nullptr;
  if (FAILED(sample->GetPointer(&data))) {
    sample->Release();
    SetFault(m_devices.label + ": no sample buffer for the stream");
    return false;
  }
  // Whole packets: the kernel's buffer holds whole packets, so reads stay aligned.
  const std::size_t room = static_cast<std::size_t>(sample->GetSize()) / kPacket * kPacket;
  const CallResult read = m_calls->Read(m_dvr.Get(), data, room);
  if (!read.Ok()) {
    sample->Release();
    switch (read.Errno()) {
      case EOVERFLOW: {
        const std::uint64_t count = ++m_overflows;
        OutputDebugString(m_devices.label + ": the DVR buffer overflowed, stream data lost (" + std::to_string(count) +
                          (count == 1 ? " time)" : " times)"));
        return true;
      }
      case EAGAIN: return true;
      default: SetFault(m_devices.label + ": " + read.Error().Describe()); return false;
    }
  }
  if (read.Value() == 0) {
    sample->Release();
    return true;
  }
  sample->SetActualDataLength(static_cast<LONG>(read.Value()));
  m_bytesRead += static_cast<std::uint64_t>(read.Value());
  const HRESULT delivered = m_output->Deliver(sample);
  sample->Release();
  // Downstream refused or wants no more: stop delivering until the next run.
  return delivered == S_OK;
}

}  // namespace linuxdvb
