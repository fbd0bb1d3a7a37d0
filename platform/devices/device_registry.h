// The devices the system device enumerator lists. Device providers (the
// simulated card, the platform's own filters, a real card backend) add their
// devices here; the enumerator lists each category in the order its devices
// were added.
//
// Thread-safe: providers may add or remove devices from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace devices {

// Makes the device's object and answers the asked interface.
using BindFunction = std::function<HRESULT(REFIID riid, void** ppv)>;

// Ways a device can misbehave, for tests and the simulated card.
struct DeviceFaults {
  bool propertyBagFails = false;   // the property bag cannot be opened
  bool friendlyNameFails = false;  // "FriendlyName" cannot be read
  bool bindFails = false;          // the device cannot be bound to its object
  // The device is listed only from this enumeration of its category on
  // (1 = from the first), like a device whose driver loads late.
  int visibleFromEnumeration = 1;
};

struct DeviceDescriptor {
  GUID category;
  std::wstring friendlyName;
  BindFunction bind;
  DeviceFaults faults;
};

using DeviceId = std::uint64_t;

class DeviceRegistry {
 public:
  static DeviceRegistry& Instance();

  DeviceId Add(DeviceDescriptor device);
  void Remove(DeviceId id);
  void Clear();

  // The devices of a category visible to the next enumeration, in order;
  // counts that enumeration.
  std::vector<DeviceDescriptor> EnumerateCategory(REFGUID category);
  // How many enumerations of the category have been made.
  int EnumerationCount(REFGUID category);

 private:
  struct Entry {
    DeviceId id;
    DeviceDescriptor device;
  };
  std::mutex m_mutex;
  std::vector<Entry> m_entries;
  std::vector<std::pair<GUID, int>> m_enumerations;
  DeviceId m_nextId = 1;

  int& CounterFor(REFGUID category);
};

// Registers the system device enumerator class with the component runtime.
void RegisterSystemDeviceEnumerator();

}  // namespace devices
