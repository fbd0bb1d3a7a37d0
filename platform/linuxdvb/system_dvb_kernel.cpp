// The system's kernel for the Linux DVB backend. The device nodes come from
// libdvbv5's device lookup, which asks the system's device manager (udev)
// for every DVB node with its sysfs path and the bus it hangs on; everything
// done on an open node is a plain system call.
#include <dirent.h>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

// The library's headers declare C functions without saying so.
extern "C" {
#include <libdvbv5/dvb-dev.h>
}

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/linuxdvb/dvb_kernel.h"

namespace linuxdvb {
namespace {

std::string Text(const char* value) { return value ? value : ""; }

// The library's messages go to the backend's log like its own; the log
// rides in the library's private pointer.
void LibraryLog(void* log, int level, const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  const auto& sink = *static_cast<const BackendLog*>(log);
  if (sink) sink(std::string("libdvbv5: ") + line);
}

DvbNodeType TypeOf(dvb_dev_type type) {
  switch (type) {
    case DVB_DEVICE_FRONTEND: return DvbNodeType::Frontend;
    case DVB_DEVICE_DEMUX: return DvbNodeType::Demux;
    case DVB_DEVICE_DVR: return DvbNodeType::Dvr;
    default: return DvbNodeType::Other;
  }
}

// "dvb0.frontend1" names adapter 0, node 1.
bool ParseSysname(const std::string& sysname, int* adapter, int* index) {
  char kind[32];
  return std::sscanf(sysname.c_str(), "dvb%d.%31[a-z]%d", adapter, kind, index) == 3;
}

std::string LinkTarget(const std::string& link) {
  char target[4096];
  const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
  return length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
}

class SystemKernel final : public DvbKernel {
 public:
  explicit SystemKernel(BackendLog log) : m_log(std::move(log)) {}

  std::vector<DvbNode> ListNodes() override {
    std::vector<DvbNode> nodes;
    dvb_device* dvb = dvb_dev_alloc();
    if (!dvb) return nodes;
    dvb_dev_set_logpriv(dvb, 0, LibraryLog, &m_log);
    if (dvb_dev_find(dvb, nullptr, nullptr) == 0) {
      for (int i = 0; i < dvb->num_devices; ++i) {
        const dvb_dev_list& device = dvb->devices[i];
        DvbNode node;
        if (!ParseSysname(Text(device.sysname), &node.adapter, &node.index)) continue;
        node.type = TypeOf(device.dvb_type);
        node.path = Text(device.path);
        node.syspath = Text(device.syspath);
        node.busAddress = Text(device.bus_addr);
        node.product = Text(device.product);
        nodes.push_back(std::move(node));
      }
    }
    dvb_dev_free(dvb);
    return nodes;
  }

  std::vector<DeviceHolder> FindHolders(const std::string& path) override {
    std::vector<DeviceHolder> holders;
    DIR* proc = opendir("/proc");
    if (!proc) return holders;
    const int self = getpid();
    while (dirent* entry = readdir(proc)) {
      const int pid = std::atoi(entry->d_name);
      if (pid <= 0 || pid == self) continue;
      const std::string folder = "/proc/" + std::string(entry->d_name);
      DIR* fds = opendir((folder + "/fd").c_str());
      if (!fds) continue;  // another user's process
      bool holds = false;
      while (dirent* fd = readdir(fds)) {
        if (fd->d_name[0] != '.' && LinkTarget(folder + "/fd/" + fd->d_name) == path) {
          holds = true;
          break;
        }
      }
      closedir(fds);
      if (!holds) continue;
      std::string command;
      std::getline(std::ifstream(folder + "/comm"), command);
      holders.push_back({pid, command});
    }
    closedir(proc);
    return holders;
  }

  int Open(const std::string& path, int flags) override {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    return fd >= 0 ? fd : -errno;
  }
  int Close(int fd) override { return ::close(fd) == 0 ? 0 : -errno; }
  int Ioctl(int fd, unsigned long request, std::uintptr_t argument) override {
    const int result = ::ioctl(fd, request, argument);
    return result >= 0 ? result : -errno;
  }
  long Read(int fd, void* buffer, std::size_t size) override {
    const ssize_t result = ::read(fd, buffer, size);
    return result >= 0 ? result : -errno;
  }
  long Write(int fd, const void* buffer, std::size_t size) override {
    const ssize_t result = ::write(fd, buffer, size);
    return result >= 0 ? result : -errno;
  }
  int Poll(pollfd* fds, std::size_t count, int timeoutMs) override {
    const int result = ::poll(fds, count, timeoutMs);
    return result >= 0 ? result : -errno;
  }
  int EventFd() override {
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return fd >= 0 ? fd : -errno;
  }

 private:
  BackendLog m_log;  // not const: the library takes it as a plain pointer
};

}  // namespace

std::shared_ptr<DvbKernel> SystemDvbKernel(BackendLog log) { return std::make_shared<SystemKernel>(std::move(log)); }

}  // namespace linuxdvb
