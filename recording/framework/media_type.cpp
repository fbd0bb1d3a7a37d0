#include "recording/framework/media_type.h"

#include <cstring>

#include "platform/com/runtime.h"

void InitMediaType(AM_MEDIA_TYPE* mt) {
  std::memset(mt, 0, sizeof(*mt));
  mt->bFixedSizeSamples = 1;
  mt->lSampleSize = 1;
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* dst, const AM_MEDIA_TYPE* src) {
  if (!dst || !src) return E_POINTER;
  if (dst == src) return S_OK;
  *dst = *src;
  if (src->cbFormat != 0 && src->pbFormat) {
    dst->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(src->cbFormat));
    if (!dst->pbFormat) {
      InitMediaType(dst);
      return E_OUTOFMEMORY;
    }
    std::memcpy(dst->pbFormat, src->pbFormat, src->cbFormat);
  } else {
    dst->cbFormat = 0;
    dst->pbFormat = nullptr;
  }
  if (dst->pUnk) dst->pUnk->AddRef();
  return S_OK;
}

void FreeMediaType(AM_MEDIA_TYPE& mt) {
  if (mt.pbFormat) CoTaskMemFree(mt.pbFormat);
  mt.pbFormat = nullptr;
  mt.cbFormat = 0;
  if (IUnknown* owner = mt.pUnk) {
    mt.pUnk = nullptr;
    owner->Release();
  }
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* src) {
  auto* mt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!mt) return nullptr;
  if (FAILED(CopyMediaType(mt, src))) {
    CoTaskMemFree(mt);
    return nullptr;
  }
  return mt;
}

void DeleteMediaType(AM_MEDIA_TYPE* mt) {
  if (!mt) return;
  FreeMediaType(*mt);
  CoTaskMemFree(mt);
}

bool IsPartiallySpecified(const AM_MEDIA_TYPE& mt) {
  return mt.majortype == GUID_NULL || mt.formattype == GUID_NULL;
}

bool MatchesPartial(const AM_MEDIA_TYPE& mt, const AM_MEDIA_TYPE& partial) {
  if (partial.majortype != GUID_NULL && partial.majortype != mt.majortype) return false;
  if (partial.subtype != GUID_NULL && partial.subtype != mt.subtype) return false;
  if (partial.formattype != GUID_NULL) {
    if (partial.formattype != mt.formattype || partial.cbFormat != mt.cbFormat) return false;
    if (mt.cbFormat != 0 && std::memcmp(partial.pbFormat, mt.pbFormat, mt.cbFormat) != 0) return false;
  }
  return true;
}

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& src) {
  if (&src == this) return S_OK;
  FreeMediaType(*this);
  return CopyMediaType(this, &src);
}

void CMediaType::Reset() {
  FreeMediaType(*this);
  InitMediaType(this);
}

AM_MEDIA_TYPE* CMediaType::Detach() {
  auto* out = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!out) return nullptr;
  *out = static_cast<const AM_MEDIA_TYPE&>(*this);
  InitMediaType(this);
  return out;
}
