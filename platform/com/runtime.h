// The component runtime: per-thread initialisation counting, object creation
// by class identifier over a registry of class factories, and the task
// allocator that hands memory across interface boundaries.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "platform/com/unknown.h"

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_SPEED_OVER_MEMORY = 0x8;
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_ALL = 0x17;

HRESULT CoInitializeEx(void* reserved, DWORD flags);
void CoUninitialize();
// How many initialisations of the calling thread are not yet undone.
int CoInitializeCount();

// Creates an object of the class and returns the asked interface. Creation
// with an outer object is refused (no class here supports aggregation).
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);

template <typename T>
HRESULT CoCreateInstance(REFCLSID clsid, T** out) {
  return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, T::IID, reinterpret_cast<void**>(out));
}

// A class factory makes a new object and answers the asked interface.
using ClassFactory = std::function<HRESULT(REFIID riid, void** ppv)>;

// Registers (or replaces) the factory of a class; the previous one, if any,
// is returned so a test can put it back.
ClassFactory RegisterClassFactory(REFCLSID clsid, ClassFactory factory);
void UnregisterClassFactory(REFCLSID clsid);

// Parses "{...}" into a class identifier; CO_E_CLASSSTRING when malformed.
HRESULT CLSIDFromString(std::wstring_view text, CLSID* clsid);

void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* p);
// Live task-allocator blocks; lets tests prove that receivers free what they get.
long CoTaskMemOutstanding();
