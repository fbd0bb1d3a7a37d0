#include "tuner/find_filter.h"

#include <string_view>

#include "platform/com/runtime.h"
#include "platform/devices/device_interfaces.h"
#include "platform/ui/debug_output.h"

ComPtr<IBaseFilter> FindFilter(REFGUID category, const wchar_t* name) {
  ComPtr<ICreateDevEnum> deviceEnum;
  if (FAILED(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, ICreateDevEnum::IID,
                              reinterpret_cast<void**>(deviceEnum.ReleaseAndGetAddressOf()))))
    return nullptr;
  ComPtr<IEnumMoniker> monikers;
  if (deviceEnum->CreateClassEnumerator(category, monikers.ReleaseAndGetAddressOf(), 0) != S_OK) return nullptr;

  ComPtr<IMoniker> moniker;
  while (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
    ComPtr<IPropertyBag> bag;
    if (FAILED(moniker->BindToStorage(IPropertyBag::IID, reinterpret_cast<void**>(bag.ReleaseAndGetAddressOf())))) {
      OutputDebugString("FindFilter(): Cannot BindToStorage");
      return nullptr;
    }
    std::wstring friendlyName;
    if (FAILED(bag->Read(L"FriendlyName", &friendlyName))) {
      OutputDebugString("FindFilter(): IPropertyBag->Read method failed");
      continue;
    }
    ComPtr<IBaseFilter> filter;
    if (FAILED(moniker->BindToObject(IBaseFilter::IID, reinterpret_cast<void**>(filter.ReleaseAndGetAddressOf()))))
      continue;
    if (!name || std::wstring_view(friendlyName).starts_with(name)) return filter;
  }
  return nullptr;
}
