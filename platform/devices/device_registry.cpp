#include "platform/devices/device_registry.h"

#include <algorithm>

namespace devices {

DeviceRegistry& DeviceRegistry::Instance() {
  static DeviceRegistry registry;
  return registry;
}

DeviceId DeviceRegistry::Add(DeviceDescriptor device) {
  std::lock_guard lock(m_mutex);
  const DeviceId id = m_nextId++;
  m_entries.push_back({id, std::move(device)});
  return id;
}

void DeviceRegistry::Remove(DeviceId id) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_entries, [id](const Entry& e) { return e.id == id; });
}

void DeviceRegistry::Clear() {
  std::lock_guard lock(m_mutex);
  m_entries.clear();
  m_enumerations.clear();
}

int& DeviceRegistry::CounterFor(REFGUID category) {
  for (auto& [guid, count] : m_enumerations)
    if (guid == category) return count;
  return m_enumerations.emplace_back(category, 0).second;
}

std::vector<DeviceDescriptor> DeviceRegistry::EnumerateCategory(REFGUID category) {
  std::lock_guard lock(m_mutex);
  const int enumeration = ++CounterFor(category);
  std::vector<DeviceDescriptor> result;
  for (const auto& entry : m_entries)
    if (entry.device.category == category && enumeration >= entry.device.faults.visibleFromEnumeration)
      result.push_back(entry.device);
  return result;
}

int DeviceRegistry::EnumerationCount(REFGUID category) {
  std::lock_guard lock(m_mutex);
  return CounterFor(category);
}

}  // namespace devices
