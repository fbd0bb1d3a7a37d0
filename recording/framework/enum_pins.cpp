#include "recording/framework/enum_pins.h"

#include <algorithm>
#include <new>

#include "recording/framework/base_filter.h"
#include "recording/framework/base_pin.h"

CEnumPins::CEnumPins(CBaseFilter* filter, const CEnumPins* other) : m_pFilter(filter) {
  static_cast<IBaseFilter*>(m_pFilter)->AddRef();
  if (other) {
    m_Position = other->m_Position;
    m_PinCount = other->m_PinCount;
    m_Version = other->m_Version;
    m_PinCache = other->m_PinCache;
  } else {
    Refresh();
  }
}

CEnumPins::~CEnumPins() { static_cast<IBaseFilter*>(m_pFilter)->Release(); }

HRESULT CEnumPins::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IEnumPins::IID || riid == IUnknown::IID) {
    *ppv = static_cast<IEnumPins*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG CEnumPins::AddRef() { return static_cast<ULONG>(++m_cRef); }

ULONG CEnumPins::Release() {
  const std::int32_t count = --m_cRef;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

bool CEnumPins::AreWeOutOfSync() const { return m_pFilter->GetPinVersion() != m_Version; }

void CEnumPins::Refresh() {
  m_Version = m_pFilter->GetPinVersion();
  m_PinCount = m_pFilter->GetPinCount();
  m_Position = 0;
}

HRESULT CEnumPins::Next(ULONG count, IPin** pins, ULONG* fetched) {
  if (!pins) return E_POINTER;
  if (!fetched && count > 1) return E_INVALIDARG;
  if (fetched) *fetched = 0;
  if (AreWeOutOfSync()) Refresh();  // the list survives, so no pin comes twice

  ULONG got = 0;
  while (got < count && m_Position < m_PinCount) {
    CBasePin* pin = m_pFilter->GetPin(m_Position++);
    if (!pin) {
      // The pins changed under us: take back what this call handed out.
      for (ULONG i = 0; i < got; ++i) {
        m_PinCache.erase(std::find(m_PinCache.begin(), m_PinCache.end(), pins[i]));
        pins[i]->Release();
        pins[i] = nullptr;
      }
      return VFW_E_ENUM_OUT_OF_SYNC;
    }
    IPin* face = pin;
    if (std::find(m_PinCache.begin(), m_PinCache.end(), face) != m_PinCache.end()) continue;
    m_PinCache.push_back(face);
    face->AddRef();
    pins[got++] = face;
  }
  if (fetched) *fetched = got;
  return got == count ? S_OK : S_FALSE;
}

HRESULT CEnumPins::Skip(ULONG count) {
  if (AreWeOutOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  const ULONG left = static_cast<ULONG>(m_PinCount - m_Position);
  if (count > left) return S_FALSE;
  m_Position += static_cast<int>(count);
  return S_OK;
}

HRESULT CEnumPins::Reset() {
  Refresh();
  m_PinCache.clear();
  return S_OK;
}

HRESULT CEnumPins::Clone(IEnumPins** clone) {
  if (!clone) return E_POINTER;
  if (AreWeOutOfSync()) {
    *clone = nullptr;
    return VFW_E_ENUM_OUT_OF_SYNC;
  }
  *clone = new (std::nothrow) CEnumPins(m_pFilter, this);
  return *clone ? S_OK : E_OUTOFMEMORY;
}
