// The kernel as the Linux DVB backend sees it: the device nodes of the DVB
// adapters, and the system calls made on them. This is the one seam between
// the backend and the operating system: production uses the system's kernel
// (SystemDvbKernel), tests a fake one that models frontends, demultiplexers
// and DVR devices.
//
// Calls return what the kernel's entry points return: a non-negative result,
// or -errno. They are not retried here; KernelCalls (kernel_calls.h) retries
// interrupted calls and names the failed call, once, for every caller.
//
// Any thread; an implementation does its own locking.
#pragma once

#include <poll.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/linuxdvb/backend_log.h"

namespace linuxdvb {

enum class DvbNodeType { Frontend, Demux, Dvr, Other };

// One device node of an adapter, as the system's device manager lists it.
struct DvbNode {
  int adapter = 0;          // N of /dev/dvb/adapterN
  int index = 0;            // M of frontendM, demuxM, dvrM
  DvbNodeType type = DvbNodeType::Other;
  std::string path;         // "/dev/dvb/adapter0/frontend0"
  std::string syspath;      // "/sys/devices/.../dvb/dvb0.frontend0"
  std::string busAddress;   // "usb:3-1.1", "pci:0000:01:00.0", or empty
  std::string product;      // the USB product name, or empty
};

// A process that has a device open (found in /proc/<pid>/fd).
struct DeviceHolder {
  int pid = 0;
  std::string command;  // /proc/<pid>/comm
};

class DvbKernel {
 public:
  virtual ~DvbKernel() = default;

  // Every DVB device node, in adapter and node order.
  virtual std::vector<DvbNode> ListNodes() = 0;
  // The processes other than this one that have path open; empty when none
  // can be seen (another user's processes are not visible).
  virtual std::vector<DeviceHolder> FindHolders(const std::string& path) = 0;

  virtual int Open(const std::string& path, int flags) = 0;
  virtual int Close(int fd) = 0;
  // argument: a pointer (cast) for calls that take a structure, the value
  // itself for calls that take one (FE_SET_TONE, DMX_SET_BUFFER_SIZE, ...).
  virtual int Ioctl(int fd, unsigned long request, std::uintptr_t argument) = 0;
  virtual long Read(int fd, void* buffer, std::size_t size) = 0;
  virtual long Write(int fd, const void* buffer, std::size_t size) = 0;
  virtual int Poll(pollfd* fds, std::size_t count, int timeoutMs) = 0;
  // A non-blocking event counter (eventfd): readable once written to.
  virtual int EventFd() = 0;
};

// The system's kernel: device nodes from the system's device manager,
// holders from /proc. What libdvbv5 says while it lists them goes to log.
std::shared_ptr<DvbKernel> SystemDvbKernel(BackendLog log = {});

}  // namespace linuxdvb
