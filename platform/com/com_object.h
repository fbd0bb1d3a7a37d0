// Reference counting and interface lookup for the platform's own objects.
// An interface that extends another names it as `Base`, so a query for any
// interface along the chain finds the object.
//
//   class Bag final : public ComObject<Bag, IPropertyBag> { ... };
//   ComPtr<IPropertyBag> bag = MakeComObject<Bag>(args...);
#pragma once

#include <atomic>
#include <type_traits>
#include <utility>

#include "platform/com/com_ptr.h"

namespace com_detail {

template <typename I, typename = void>
struct HasBase : std::false_type {};
template <typename I>
struct HasBase<I, std::void_t<typename I::Base>> : std::true_type {};

// The face of p that answers riid, walking the interface's base chain.
template <typename I>
void* CastAlongChain(I* p, REFIID riid) {
  if (riid == I::IID) return p;
  if constexpr (HasBase<I>::value) return CastAlongChain<typename I::Base>(p, riid);
  return nullptr;
}

}  // namespace com_detail

template <typename Derived, typename First, typename... Rest>
class ComObject : public First, public Rest... {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IUnknown::IID) {
      *ppv = static_cast<First*>(this);
    } else if (!FindInterface<First, Rest...>(riid, ppv)) {
      return static_cast<Derived*>(this)->QueryExtraInterface(riid, ppv);
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++m_refCount; }
  ULONG Release() override {
    const ULONG count = --m_refCount;
    if (count == 0) delete static_cast<Derived*>(this);
    return count;
  }

  // Objects that hand out interfaces of other objects override this.
  HRESULT QueryExtraInterface(REFIID, void** ppv) {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }

 protected:
  ComObject() = default;
  // A copy is a new object: it starts without references.
  ComObject(const ComObject&) : First(), Rest()... {}
  ComObject& operator=(const ComObject&) { return *this; }
  virtual ~ComObject() = default;

 private:
  template <typename I, typename... More>
  bool FindInterface(REFIID riid, void** ppv) {
    if (void* face = com_detail::CastAlongChain<I>(static_cast<I*>(this), riid)) {
      *ppv = face;
      return true;
    }
    if constexpr (sizeof...(More) > 0) return FindInterface<More...>(riid, ppv);
    return false;
  }

  std::atomic<ULONG> m_refCount{0};
};

template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
  return ComPtr<T>(new T(std::forward<Args>(args)...));
}

// A class factory body: a new object answering riid.
template <typename T>
HRESULT CreateComObject(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  return MakeComObject<T>()->QueryInterface(riid, ppv);
}
