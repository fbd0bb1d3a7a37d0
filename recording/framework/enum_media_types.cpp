#include "recording/framework/enum_media_types.h"

#include <new>

#include "recording/framework/base_pin.h"
#include "recording/framework/media_type.h"

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin, const CEnumMediaTypes* other) : m_pPin(pin) {
  static_cast<IPin*>(m_pPin)->AddRef();
  if (other) {
    m_Position = other->m_Position;
    m_Version = other->m_Version;
  } else {
    m_Version = m_pPin->GetMediaTypeVersion();
  }
}

CEnumMediaTypes::~CEnumMediaTypes() { static_cast<IPin*>(m_pPin)->Release(); }

HRESULT CEnumMediaTypes::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IEnumMediaTypes::IID || riid == IUnknown::IID) {
    *ppv = static_cast<IEnumMediaTypes*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG CEnumMediaTypes::AddRef() { return static_cast<ULONG>(++m_cRef); }

ULONG CEnumMediaTypes::Release() {
  const std::int32_t count = --m_cRef;
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

bool CEnumMediaTypes::AreWeOutOfSync() const { return m_pPin->GetMediaTypeVersion() != m_Version; }

HRESULT CEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) {
  if (!types) return E_POINTER;
  if (AreWeOutOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  if (!fetched && count > 1) return E_INVALIDARG;

  ULONG got = 0;
  while (got < count) {
    CMediaType mt;
    if (m_pPin->GetMediaType(m_Position++, &mt) != S_OK) break;
    AM_MEDIA_TYPE* out = mt.Detach();  // takes over the format block and owner
    if (!out) break;
    types[got++] = out;
  }
  if (fetched) *fetched = got;
  return got == count ? S_OK : S_FALSE;
}

HRESULT CEnumMediaTypes::Skip(ULONG count) {
  if (count == 0) return S_OK;
  if (AreWeOutOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  m_Position += static_cast<int>(count);
  CMediaType mt;
  return m_pPin->GetMediaType(m_Position - 1, &mt) == S_OK ? S_OK : S_FALSE;
}

HRESULT CEnumMediaTypes::Reset() {
  m_Position = 0;
  m_Version = m_pPin->GetMediaTypeVersion();
  return S_OK;
}

HRESULT CEnumMediaTypes::Clone(IEnumMediaTypes** clone) {
  if (!clone) return E_POINTER;
  if (AreWeOutOfSync()) {
    *clone = nullptr;
    return VFW_E_ENUM_OUT_OF_SYNC;
  }
  *clone = new (std::nothrow) CEnumMediaTypes(m_pPin, this);
  return *clone ? S_OK : E_OUTOFMEMORY;
}
