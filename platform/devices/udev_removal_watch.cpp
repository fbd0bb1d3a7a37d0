#include <libudev.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/devices/device_notifications.h"
#include "platform/devices/removal_filter.h"

namespace devices {
namespace {

std::string Text(const char* value) { return value ? value : ""; }

RemovalEvent EventOf(udev_device* device) {
  return {Text(udev_device_get_subsystem(device)), Text(udev_device_get_devtype(device)),
          Text(udev_device_get_syspath(device)), Text(udev_device_get_property_value(device, "ID_FS_TYPE"))};
}

}  // namespace

struct UdevRemovalWatch::Impl {
  udev* context = nullptr;
  udev_monitor* monitor = nullptr;
  int wakePipe[2] = {-1, -1};
  std::thread thread;

  void Run() {
    pollfd fds[2] = {{udev_monitor_get_fd(monitor), POLLIN, 0}, {wakePipe[0], POLLIN, 0}};
    for (;;) {
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        std::fprintf(stderr, "device watch: poll failed: %s\n", std::strerror(errno));
        return;
      }
      if (fds[1].revents) return;
      if (!(fds[0].revents & POLLIN)) continue;
      udev_device* device = udev_monitor_receive_device(monitor);
      if (!device) continue;
      const char* action = udev_device_get_action(device);
      const bool closes = action && std::strcmp(action, "remove") == 0 &&
                          RemovalClosesWindow(EventOf(device), CardSyspaths());
      udev_device_unref(device);
      if (closes) PublishDeviceChange(DBT_DEVICEREMOVECOMPLETE);
    }
  }
};

UdevRemovalWatch::UdevRemovalWatch() : m_impl(std::make_unique<Impl>()) {
  m_impl->context = udev_new();
  if (m_impl->context) m_impl->monitor = udev_monitor_new_from_netlink(m_impl->context, "udev");
  if (!m_impl->monitor || udev_monitor_enable_receiving(m_impl->monitor) < 0 || pipe(m_impl->wakePipe) < 0) {
    std::fprintf(stderr, "device watch: no udev monitor; device removal is not watched\n");
    if (m_impl->monitor) udev_monitor_unref(m_impl->monitor);
    m_impl->monitor = nullptr;
    return;
  }
  m_impl->thread = std::thread([impl = m_impl.get()] { impl->Run(); });
}

UdevRemovalWatch::~UdevRemovalWatch() {
  if (m_impl->thread.joinable()) {
    const char wake = 1;
    [[maybe_unused]] auto written = write(m_impl->wakePipe[1], &wake, 1);
    m_impl->thread.join();
  }
  for (int fd : m_impl->wakePipe)
    if (fd >= 0) close(fd);
  if (m_impl->monitor) udev_monitor_unref(m_impl->monitor);
  if (m_impl->context) udev_unref(m_impl->context);
}

bool UdevRemovalWatch::IsWatching() const { return m_impl->thread.joinable(); }

}  // namespace devices
