#include "platform/com/runtime.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "platform/com/guid.h"

namespace {

thread_local int t_initCount = 0;
std::atomic<long> g_taskBlocks{0};

struct ClassRegistry {
  std::mutex mutex;
  std::unordered_map<GUID, ClassFactory, GuidHash> factories;
};

ClassRegistry& Registry() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

HRESULT CoInitializeEx(void*, DWORD) { return t_initCount++ == 0 ? S_OK : S_FALSE; }

void CoUninitialize() {
  if (t_initCount > 0) --t_initCount;
}

int CoInitializeCount() { return t_initCount; }

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  ClassFactory factory;
  {
    std::lock_guard lock(Registry().mutex);
    auto it = Registry().factories.find(clsid);
    if (it == Registry().factories.end()) return REGDB_E_CLASSNOTREG;
    factory = it->second;
  }
  return factory(riid, ppv);
}

ClassFactory RegisterClassFactory(REFCLSID clsid, ClassFactory factory) {
  std::lock_guard lock(Registry().mutex);
  ClassFactory previous;
  auto it = Registry().factories.find(clsid);
  if (it != Registry().factories.end()) previous = std::move(it->second);
  if (factory)
    Registry().factories[clsid] = std::move(factory);
  else
    Registry().factories.erase(clsid);
  return previous;
}

void UnregisterClassFactory(REFCLSID clsid) { RegisterClassFactory(clsid, nullptr); }

HRESULT CLSIDFromString(std::wstring_view text, CLSID* clsid) {
  if (!clsid) return E_POINTER;
  const auto parsed = ParseGuid(text);
  if (!parsed) {
    *clsid = GUID_NULL;
    return CO_E_CLASSSTRING;
  }
  *clsid = *parsed;
  return S_OK;
}

void* CoTaskMemAlloc(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p) ++g_taskBlocks;
  return p;
}

void CoTaskMemFree(void* p) {
  if (!p) return;
  --g_taskBlocks;
  std::free(p);
}

long CoTaskMemOutstanding() { return g_taskBlocks.load(); }
