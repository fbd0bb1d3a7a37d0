// The inner face of an object that may be aggregated: the object's own lookup
// and reference count, which its public interfaces reach through the outer
// unknown.
#pragma once

#include "platform/com/unknown.h"

struct INonDelegatingUnknown {
  virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) = 0;
  virtual ULONG NonDelegatingAddRef() = 0;
  virtual ULONG NonDelegatingRelease() = 0;
  virtual ~INonDelegatingUnknown() = default;
};
