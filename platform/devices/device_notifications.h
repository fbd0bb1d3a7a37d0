// Device-removal notifications. Sources (the system's device manager through
// libudev, the simulated card) publish; the application window subscribes.
// Listeners are called on the publishing thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace devices {

// Event codes as the window's device-change message carries them.
constexpr std::uint32_t DBT_DEVICEQUERYREMOVE = 0x8001;
constexpr std::uint32_t DBT_DEVICEREMOVEPENDING = 0x8003;
constexpr std::uint32_t DBT_DEVICEREMOVECOMPLETE = 0x8004;

using DeviceChangeListener = std::function<void(std::uint32_t eventCode)>;
using SubscriptionId = std::uint64_t;

SubscriptionId SubscribeDeviceChanges(DeviceChangeListener listener);
void UnsubscribeDeviceChanges(SubscriptionId id);
void PublishDeviceChange(std::uint32_t eventCode);

// Watches the system's device manager (libudev) and publishes a
// DBT_DEVICEREMOVECOMPLETE for every "remove" event that concerns the window
// (see removal_filter.h), on its own thread, until destroyed. Without a udev netlink socket (some
// containers) it watches nothing and says so on stderr.
class UdevRemovalWatch {
 public:
  UdevRemovalWatch();
  ~UdevRemovalWatch();
  UdevRemovalWatch(const UdevRemovalWatch&) = delete;
  UdevRemovalWatch& operator=(const UdevRemovalWatch&) = delete;

  bool IsWatching() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace devices
