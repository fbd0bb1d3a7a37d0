// The root interface. Every interface struct declares its identifier as a
// static member `IID` so that ComPtr<T> and IID_PPV_ARGS can find it.
#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

#include <type_traits>

struct IUnknown {
  static constexpr GUID IID{0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

  virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

template <typename T>
constexpr const ::IID& IidOf() {
  return T::IID;
}

// QueryInterface(IID_PPV_ARGS(&p)) with the interface id taken from the pointer's type.
template <typename T>
void** IID_PPV_ARGS_Helper(T** pp) {
  return reinterpret_cast<void**>(pp);
}
#define IID_PPV_ARGS(pp) IidOf<std::remove_pointer_t<std::remove_pointer_t<decltype(pp)>>>(), IID_PPV_ARGS_Helper(pp)
