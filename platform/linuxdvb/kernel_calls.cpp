#include "platform/linuxdvb/kernel_calls.h"

#include <linux/dvb/dmx.h>
#include <linux/dvb/frontend.h>

#include <cerrno>
#include <cstring>

namespace linuxdvb {

std::string IoctlName(unsigned long request) {
  switch (request) {
    case FE_GET_INFO: return "FE_GET_INFO";
    case FE_GET_PROPERTY: return "FE_GET_PROPERTY";
    case FE_SET_PROPERTY: return "FE_SET_PROPERTY";
    case FE_READ_STATUS: return "FE_READ_STATUS";
    case FE_READ_SIGNAL_STRENGTH: return "FE_READ_SIGNAL_STRENGTH";
    case FE_READ_SNR: return "FE_READ_SNR";
    case FE_SET_VOLTAGE: return "FE_SET_VOLTAGE";
    case FE_SET_TONE: return "FE_SET_TONE";
    case FE_DISEQC_SEND_MASTER_CMD: return "FE_DISEQC_SEND_MASTER_CMD";
    case FE_DISEQC_SEND_BURST: return "FE_DISEQC_SEND_BURST";
    case FE_READ_BER: return "FE_READ_BER";
    case FE_READ_UNCORRECTED_BLOCKS: return "FE_READ_UNCORRECTED_BLOCKS";
    case DMX_SET_PES_FILTER: return "DMX_SET_PES_FILTER";
    case DMX_SET_BUFFER_SIZE: return "DMX_SET_BUFFER_SIZE";
    case DMX_START: return "DMX_START";
    case DMX_STOP: return "DMX_STOP";
    default: return "ioctl " + std::to_string(request);
  }
}

std::string ErrnoName(int error) {
  switch (error) {
    case EPERM: return "EPERM";
    case ENOENT: return "ENOENT";
    case EINTR: return "EINTR";
    case EIO: return "EIO";
    case EBADF: return "EBADF";
    case EAGAIN: return "EAGAIN";
    case ENOMEM: return "ENOMEM";
    case EACCES: return "EACCES";
    case EBUSY: return "EBUSY";
    case ENODEV: return "ENODEV";
    case EINVAL: return "EINVAL";
    case ENOTTY: return "ENOTTY";
    case EOPNOTSUPP: return "EOPNOTSUPP";
    case EOVERFLOW: return "EOVERFLOW";
    case ETIMEDOUT: return "ETIMEDOUT";
    case kENOTSUPP: return "ENOTSUPP";
    default: return "errno " + std::to_string(error);
  }
}

std::string DescribeHolders(const std::vector<DeviceHolder>& holders) {
  std::string text;
  for (const DeviceHolder& holder : holders)
    text += (text.empty() ? "" : ", ") + holder.command + " (pid " + std::to_string(holder.pid) + ")";
  return text;
}

std::string KernelError::Describe() const {
  std::string text = call;
  if (!device.empty()) text += " on " + device;
  // The C library has no text for the kernel's own ENOTSUPP.
  if (error == kENOTSUPP) return text + ": not supported by the driver (errno 524, ENOTSUPP)";
  return text + ": " + std::strerror(error) + " (" + ErrnoName(error) + ")";
}

bool IsNotSupported(int error) { return error == kENOTSUPP || error == EOPNOTSUPP || error == ENOTTY; }

KernelCalls::KernelCalls(std::shared_ptr<DvbKernel> kernel, BackendLog log)
    : m_kernel(std::move(kernel)), m_log(std::move(log)) {}

void KernelCalls::Log(const std::string& line) const {
  if (m_log) m_log(line);
}

CallResult KernelCalls::Fail(int error, std::string call, std::string device) {
  return CallResult(KernelError{error, std::move(call), std::move(device)});
}

template <typename Call>
CallResult KernelCalls::Retry(const char* call, int fd, Call&& make) {
  for (;;) {
    const long result = make();
    if (result >= 0) return CallResult(result);
    if (result != -EINTR) return Fail(static_cast<int>(-result), call, fd >= 0 ? DeviceOf(fd) : "");
  }
}

CallResult KernelCalls::Open(const std::string& path, int flags) {
  for (;;) {
    const int fd = m_kernel->Open(path, flags);
    if (fd >= 0) {
      std::lock_guard lock(m_mutex);
      m_paths[fd] = path;
      return CallResult(fd);
    }
    if (fd != -EINTR) return Fail(-fd, "open", path);
  }
}

void KernelCalls::Close(int fd) {
  if (fd < 0) return;
  {
    std::lock_guard lock(m_mutex);
    m_paths.erase(fd);
  }
  // A close is not retried: the descriptor is gone whatever it reports.
  m_kernel->Close(fd);
}

CallResult KernelCalls::Ioctl(int fd, unsigned long request, std::uintptr_t argument) {
  const std::string name = IoctlName(request);
  return Retry(name.c_str(), fd, [&] { return static_cast<long>(m_kernel->Ioctl(fd, request, argument)); });
}

CallResult KernelCalls::Read(int fd, void* buffer, std::size_t size) {
  return Retry("read", fd, [&] { return m_kernel->Read(fd, buffer, size); });
}

CallResult KernelCalls::Write(int fd, const void* buffer, std::size_t size) {
  return Retry("write", fd, [&] { return m_kernel->Write(fd, buffer, size); });
}

CallResult KernelCalls::Poll(pollfd* fds, std::size_t count, int timeoutMs) {
  return Retry("poll", -1, [&] { return static_cast<long>(m_kernel->Poll(fds, count, timeoutMs)); });
}

CallResult KernelCalls::EventFd() {
  const int fd = m_kernel->EventFd();
  if (fd < 0) return Fail(-fd, "eventfd", "");
  std::lock_guard lock(m_mutex);
  m_paths[fd] = "eventfd";
  return CallResult(fd);
}

std::string KernelCalls::DeviceOf(int fd) {
  std::lock_guard lock(m_mutex);
  const auto found = m_paths.find(fd);
  return found == m_paths.end() ? std::string() : found->second;
}

DeviceFd& DeviceFd::operator=(DeviceFd&& other) noexcept {
  if (this != &other) {
    Reset();
    m_calls = other.m_calls;
    m_fd = other.m_fd;
    other.m_fd = -1;
  }
  return *this;
}

void DeviceFd::Reset() {
  if (m_fd >= 0 && m_calls) m_calls->Close(m_fd);
  m_fd = -1;
}

}  // namespace linuxdvb
