// The system device enumerator: devices listed by category as monikers, each
// with a property bag ("FriendlyName") and a way to bind it to its filter.
#pragma once

#include <string>

#include "platform/com/unknown.h"

struct IPropertyBag : IUnknown {
  static constexpr GUID IID{0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
  using Base = IUnknown;
  // Reads a string property.
  virtual HRESULT Read(const wchar_t* name, std::wstring* value) = 0;
};

struct IMoniker : IUnknown {
  static constexpr GUID IID{0x0000000F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  using Base = IUnknown;
  // Opens the device's storage (its property bag).
  virtual HRESULT BindToStorage(REFIID riid, void** ppv) = 0;
  // Makes the device's object (its filter).
  virtual HRESULT BindToObject(REFIID riid, void** ppv) = 0;
};

struct IEnumMoniker : IUnknown {
  static constexpr GUID IID{0x00000102, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  using Base = IUnknown;
  virtual HRESULT Next(ULONG count, IMoniker** monikers, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumMoniker** clone) = 0;
};

struct ICreateDevEnum : IUnknown {
  static constexpr GUID IID{0x29840822, 0x5B84, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
  using Base = IUnknown;
  // S_OK with an enumerator when the category has devices; S_FALSE and no
  // enumerator when it is empty.
  virtual HRESULT CreateClassEnumerator(REFGUID category, IEnumMoniker** monikers, DWORD flags) = 0;
};

inline constexpr GUID CLSID_SystemDeviceEnum{0x62BE5D10, 0x60EB, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
