// The one wrapper around the backend's system calls: every open, ioctl, read
// and poll of the Linux DVB backend goes through KernelCalls. It retries a
// call the kernel interrupted (EINTR), keeps the errno of a failure, and
// names the failed call and the device it was made on, so every error the
// backend reports says what failed ("FE_SET_VOLTAGE on
// /dev/dvb/adapter0/frontend0: Operation not permitted (EPERM)").
// Conversion to status codes happens only at the COM interfaces above.
// Everything on the backend holds it, so it also carries the backend's log
// (backend_log.h) to them.
//
// Any thread; the fd-to-path table has its own lock.
#pragma once

#include <sys/ioctl.h>  // the _IO macros the DVB request numbers expand to

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/linuxdvb/backend_log.h"
#include "platform/linuxdvb/dvb_kernel.h"

namespace linuxdvb {

// The kernel's own "operation not supported" (524): what the DVB core
// answers for an operation the driver lacks (no set_voltage, no burst, no
// legacy statistics). User space has no name for it.
inline constexpr int kENOTSUPP = 524;

struct KernelError {
  int error = 0;        // errno
  std::string call;     // "open", "FE_SET_VOLTAGE", "read", ...
  std::string device;   // the path the call was made on, or empty
  std::string Describe() const;
};

// The outcome of one call: its non-negative result, or the error.
class CallResult {
 public:
  explicit CallResult(long value = 0) : m_value(value) {}
  explicit CallResult(KernelError error) : m_error(std::move(error)) {}
  bool Ok() const { return !m_error; }
  long Value() const { return m_value; }
  int Errno() const { return m_error ? m_error->error : 0; }
  const KernelError& Error() const { return *m_error; }  // only when !Ok()

 private:
  long m_value = 0;
  std::optional<KernelError> m_error;
};

// "FE_SET_VOLTAGE" for a request the backend makes; the number otherwise.
std::string IoctlName(unsigned long request);
// "EBUSY" for an errno value.
std::string ErrnoName(int error);
// The driver lacks the operation: ENOTSUPP (524), EOPNOTSUPP or ENOTTY.
bool IsNotSupported(int error);
// "recorder (pid 4242), player (pid 77)"; empty for none.
std::string DescribeHolders(const std::vector<DeviceHolder>& holders);

class KernelCalls {
 public:
  explicit KernelCalls(std::shared_ptr<DvbKernel> kernel, BackendLog log = {});

  DvbKernel& Kernel() { return *m_kernel; }
  // One line to the backend's log. Any thread.
  void Log(const std::string& line) const;

  CallResult Open(const std::string& path, int flags);  // Value(): the fd
  void Close(int fd);
  CallResult Ioctl(int fd, unsigned long request, std::uintptr_t argument);
  template <typename T>
  CallResult Ioctl(int fd, unsigned long request, T* argument) {
    return Ioctl(fd, request, reinterpret_cast<std::uintptr_t>(argument));
  }
  CallResult Read(int fd, void* buffer, std::size_t size);  // Value(): bytes read
  CallResult Write(int fd, const void* buffer, std::size_t size);
  CallResult Poll(pollfd* fds, std::size_t count, int timeoutMs);  // Value(): ready count
  CallResult EventFd();                                            // Value(): the fd

  // The path fd was opened from, or empty.
  std::string DeviceOf(int fd);

 private:
  template <typename Call>
  CallResult Retry(const char* call, int fd, Call&& make);
  CallResult Fail(int error, std::string call, std::string device);

  const std::shared_ptr<DvbKernel> m_kernel;
  const BackendLog m_log;
  std::mutex m_mutex;
  std::map<int, std::string> m_paths;  // guarded by m_mutex
};

// An open device, closed through the wrapper when dropped. Move-only.
class DeviceFd {
 public:
  DeviceFd() = default;
  DeviceFd(KernelCalls* calls, int fd) : m_calls(calls), m_fd(fd) {}
  DeviceFd(DeviceFd&& other) noexcept { *this = std::move(other); }
  DeviceFd& operator=(DeviceFd&& other) noexcept;
  ~DeviceFd() { Reset(); }

  int Get() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  void Reset();

 private:
  KernelCalls* m_calls = nullptr;
  int m_fd = -1;
};

}  // namespace linuxdvb
