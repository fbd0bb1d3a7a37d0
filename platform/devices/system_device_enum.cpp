// The system device enumerator over the device registry.
#include <utility>

#include "platform/com/com_object.h"
#include "platform/com/runtime.h"
#include "platform/devices/device_interfaces.h"
#include "platform/devices/device_registry.h"

namespace devices {
namespace {

class PropertyBag final : public ComObject<PropertyBag, IPropertyBag> {
 public:
  PropertyBag(std::wstring friendlyName, bool readFails) : m_friendlyName(std::move(friendlyName)), m_readFails(readFails) {}

  HRESULT Read(const wchar_t* name, std::wstring* value) override {
    if (!name || !value) return E_POINTER;
    if (std::wstring_view(name) != L"FriendlyName" || m_readFails) return E_FAIL;
    *value = m_friendlyName;
    return S_OK;
  }

 private:
  std::wstring m_friendlyName;
  bool m_readFails;
};

class DeviceMoniker final : public ComObject<DeviceMoniker, IMoniker> {
 public:
  explicit DeviceMoniker(DeviceDescriptor device) : m_device(std::move(device)) {}

  HRESULT BindToStorage(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (m_device.faults.propertyBagFails) return E_FAIL;
    return MakeComObject<PropertyBag>(m_device.friendlyName, m_device.faults.friendlyNameFails)->QueryInterface(riid, ppv);
  }

  HRESULT BindToObject(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (m_device.faults.bindFails || !m_device.bind) return E_FAIL;
    return m_device.bind(riid, ppv);
  }

 private:
  DeviceDescriptor m_device;
};

class MonikerEnumerator final : public ComObject<MonikerEnumerator, IEnumMoniker> {
 public:
  explicit MonikerEnumerator(std::vector<DeviceDescriptor> devices) : m_devices(std::move(devices)) {}

  HRESULT Next(ULONG count, IMoniker** monikers, ULONG* fetched) override {
    if (!monikers) return E_POINTER;
    ULONG done = 0;
    while (done < count && m_position < m_devices.size())
      monikers[done++] = MakeComObject<DeviceMoniker>(m_devices[m_position++]).Detach();
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    const std::size_t left = m_devices.size() - m_position;
    m_position += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    m_position = 0;
    return S_OK;
  }

 private:
  std::vector<DeviceDescriptor> m_devices;
  std::size_t m_position = 0;
};

class SystemDeviceEnum final : public ComObject<SystemDeviceEnum, ICreateDevEnum> {
 public:
  HRESULT CreateClassEnumerator(REFGUID category, IEnumMoniker** monikers, DWORD) override {
    if (!monikers) return E_POINTER;
    *monikers = nullptr;
    auto devices = DeviceRegistry::Instance().EnumerateCategory(category);
    if (devices.empty()) return S_FALSE;
    *monikers = MakeComObject<MonikerEnumerator>(std::move(devices)).Detach();
    return S_OK;
  }
};

}  // namespace

void RegisterSystemDeviceEnumerator() {
  RegisterClassFactory(CLSID_SystemDeviceEnum,
                       [](REFIID riid, void** ppv) { return MakeComObject<SystemDeviceEnum>()->QueryInterface(riid, ppv); });
}

}  // namespace devices
