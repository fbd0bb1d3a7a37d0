#include "platform/devices/device_notifications.h"

#include <mutex>
#include <utility>
#include <vector>

namespace devices {
namespace {

struct Listeners {
  std::mutex mutex;
  std::vector<std::pair<SubscriptionId, DeviceChangeListener>> list;
  SubscriptionId next = 1;
};

Listeners& TheListeners() {
  static Listeners listeners;
  return listeners;
}

}  // namespace

SubscriptionId SubscribeDeviceChanges(DeviceChangeListener listener) {
  auto& l = TheListeners();
  std::lock_guard lock(l.mutex);
  l.list.emplace_back(l.next, std::move(listener));
  return l.next++;
}

void UnsubscribeDeviceChanges(SubscriptionId id) {
  auto& l = TheListeners();
  std::lock_guard lock(l.mutex);
  std::erase_if(l.list, [id](const auto& entry) { return entry.first == id; });
}

void PublishDeviceChange(std::uint32_t eventCode) {
  std::vector<DeviceChangeListener> copy;
  {
    auto& l = TheListeners();
    std::lock_guard lock(l.mutex);
    for (const auto& entry : l.list) copy.push_back(entry.second);
  }
  // Called without the lock: a listener may block on the UI thread.
  for (const auto& listener : copy) listener(eventCode);
}

}  // namespace devices
