// The get_/put_ bodies of plain value properties: a null out-pointer is
// E_POINTER, everything else succeeds.
#pragma once

#include "platform/com/hresult.h"

template <typename T>
HRESULT GetProperty(const T& field, T* out) {
  if (!out) return E_POINTER;
  *out = field;
  return S_OK;
}

template <typename T>
HRESULT PutProperty(T& field, const T& value) {
  field = value;
  return S_OK;
}
