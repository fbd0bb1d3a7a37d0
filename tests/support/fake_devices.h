// Devices for the device enumerator in tests: a filter that only says who it
// is, and a guard that empties the registry before and after a test.
#pragma once

#include <string>

#include "platform/com/com_object.h"
#include "platform/devices/device_registry.h"
#include "platform/media/media_interfaces.h"

// The filter methods for test filters that are only looked up, never
// connected or run; Extra are further interfaces the test filter answers.
template <typename Derived, typename... Extra>
class FakeFilterBase : public ComObject<Derived, IBaseFilter, Extra...> {
 public:
  HRESULT GetClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT Stop() override { return S_OK; }
  HRESULT Pause() override { return S_OK; }
  HRESULT Run(REFERENCE_TIME) override { return S_OK; }
  HRESULT GetState(DWORD, FILTER_STATE* state) override {
    *state = State_Stopped;
    return S_OK;
  }
  HRESULT SetSyncSource(IReferenceClock*) override { return S_OK; }
  HRESULT GetSyncSource(IReferenceClock** clock) override {
    *clock = nullptr;
    return S_OK;
  }
  HRESULT EnumPins(IEnumPins**) override { return E_NOTIMPL; }
  HRESULT FindPin(LPCWSTR, IPin**) override { return VFW_E_NOT_FOUND; }
  HRESULT QueryFilterInfo(FILTER_INFO*) override { return E_NOTIMPL; }
  HRESULT JoinFilterGraph(IFilterGraph*, LPCWSTR) override { return S_OK; }
  HRESULT QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }
};

// A filter that knows its device name; nothing else is needed by the code
// that looks devices up.
class NamedFilter final : public FakeFilterBase<NamedFilter> {
 public:
  explicit NamedFilter(std::wstring name) : m_name(std::move(name)) {}
  const std::wstring& Name() const { return m_name; }

 private:
  std::wstring m_name;
};

inline devices::DeviceDescriptor NamedDevice(REFGUID category, const std::wstring& name,
                                             devices::DeviceFaults faults = {}) {
  return {category, name,
          [name](REFIID riid, void** ppv) { return MakeComObject<NamedFilter>(name)->QueryInterface(riid, ppv); },
          faults};
}

class ScopedDeviceRegistry {
 public:
  ScopedDeviceRegistry() {
    devices::DeviceRegistry::Instance().Clear();
    devices::RegisterSystemDeviceEnumerator();
  }
  ~ScopedDeviceRegistry() { devices::DeviceRegistry::Instance().Clear(); }
};
