// The system device enumerator over the device registry.
#include <utility>

#include "platform/com/com_object.h"
#include "platform/com/runtime.h"
#include "platform/com/vector_enumerator.h"
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

class SystemDeviceEnum final : public ComObject<SystemDeviceEnum, ICreateDevEnum> {
 public:
  HRESULT CreateClassEnumerator(REFGUID category, IEnumMoniker** monikers, DWORD) override {
    if (!monikers) return E_POINTER;
    *monikers = nullptr;
    std::vector<ComPtr<IMoniker>> list;
    for (auto& device : DeviceRegistry::Instance().EnumerateCategory(category))
      list.push_back(MakeComObject<DeviceMoniker>(std::move(device)));
    if (list.empty()) return S_FALSE;
    *monikers = MakeComObject<VectorEnumerator<IEnumMoniker, IMoniker>>(std::move(list)).Detach();
    return S_OK;
  }
};

}  // namespace

void RegisterSystemDeviceEnumerator() {
  RegisterClassFactory(CLSID_SystemDeviceEnum, CreateComObject<SystemDeviceEnum>);
}

}  // namespace devices
