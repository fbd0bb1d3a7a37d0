#include "recording/framework/unknown_base.h"

#include <algorithm>

CUnknown::CUnknown(IUnknown* outer) : m_pOuter(outer ? outer : &m_face) {}

HRESULT CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IUnknown::IID) return GetInterface(&m_face, ppv);
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG CUnknown::NonDelegatingAddRef() {
  const std::int32_t count = ++m_cRef;
  return static_cast<ULONG>(std::max(count, 1));
}

ULONG CUnknown::NonDelegatingRelease() {
  const std::int32_t count = --m_cRef;
  if (count == 0) {
    m_cRef = 1;
    delete this;
    return 0;
  }
  return static_cast<ULONG>(std::max(count, 1));
}

HRESULT CUnknown::GetInterface(IUnknown* face, void** ppv) {
  *ppv = face;
  face->AddRef();
  return S_OK;
}
