// CUnknown: reference counting and interface lookup shared by every framework
// object. The count starts at 0 and changes only atomically, on any thread.
// Every public interface of a derived object forwards QueryInterface, AddRef
// and Release to the outer unknown (DECLARE_IUNKNOWN), which is the
// aggregating object or, without one, this object's own non-delegating face.
#pragma once

#include <atomic>
#include <new>
#include <utility>

#include "platform/com/unknown.h"
#include "recording/framework/non_delegating_unknown.h"

class CUnknown : public INonDelegatingUnknown {
 public:
  explicit CUnknown(IUnknown* outer);
  CUnknown(const CUnknown&) = delete;
  CUnknown& operator=(const CUnknown&) = delete;
  ~CUnknown() override = default;

  // Answers IUnknown only, with the non-delegating face.
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  // Returns the new count, never less than 1.
  ULONG NonDelegatingAddRef() override;
  // Returns the new count (at least 1 while alive). At 0 the count is set to
  // 1 first, so a nested release during destruction cannot delete twice.
  ULONG NonDelegatingRelease() override;

  IUnknown* GetOwner() const { return m_pOuter; }

 protected:
  // Hands out face with a reference added; always S_OK.
  static HRESULT GetInterface(IUnknown* face, void** ppv);

 private:
  // The IUnknown face of the non-delegating methods, used as the outer
  // unknown when the object is not aggregated.
  struct NonDelegatingFace final : IUnknown {
    explicit NonDelegatingFace(CUnknown* self) : m_self(self) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override { return m_self->NonDelegatingQueryInterface(riid, ppv); }
    ULONG AddRef() override { return m_self->NonDelegatingAddRef(); }
    ULONG Release() override { return m_self->NonDelegatingRelease(); }
    CUnknown* const m_self;
  };

  NonDelegatingFace m_face{this};
  IUnknown* const m_pOuter;
  std::atomic<std::int32_t> m_cRef{0};
};

// Public interfaces of a CUnknown-derived class answer through the owner.
#define DECLARE_IUNKNOWN                                                                                       \
  HRESULT QueryInterface(REFIID riid, void** ppv) override { return GetOwner()->QueryInterface(riid, ppv); } \
  ULONG AddRef() override { return GetOwner()->AddRef(); }                                                   \
  ULONG Release() override { return GetOwner()->Release(); }

// Makes a framework object and answers riid. The object starts at a count
// of 0: the query takes the caller's reference, and a failed query
// destroys the object again.
template <typename Object, typename... Args>
HRESULT CreateFrameworkObject(REFIID riid, void** ppv, Args&&... args) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  auto* object = new (std::nothrow) Object(std::forward<Args>(args)...);
  if (!object) return E_OUTOFMEMORY;
  object->NonDelegatingAddRef();
  const HRESULT hr = object->NonDelegatingQueryInterface(riid, ppv);
  object->NonDelegatingRelease();
  return hr;
}
