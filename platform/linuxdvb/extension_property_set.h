// The tuner extension property set of a real card, answered from its
// frontend with the records every backend shares (driver_records.h):
//  - 0, DiSEqC message: sent with FE_DISEQC_SEND_MASTER_CMD. The kernel
//    carries 3 to 6 bytes; other lengths fail with E_INVALIDARG.
//  - 12, media information: derived from the tuned parameters after lock
//    (all zero while nothing is locked); the MATYPE bytes are derived.
//  - 13, output stream type: a transport stream only; asking for a generic
//    stream fails with E_NOTIMPL.
//  - 14, input stream: DTV_STREAM_ID, then a retune; supported only when
//    the frontend keeps stream ids.
// Status codes as the simulated card's: E_PROP_SET_UNSUPPORTED for another
// set, E_PROP_ID_UNSUPPORTED for another id, E_NOTIMPL for a direction the
// property lacks, E_POINTER for no buffer, E_INSUFFICIENT_BUFFER for a
// short one (a Get then reports the size needed).
//
// Any thread; the frontend does the locking.
#pragma once

#include "platform/linuxdvb/frontend.h"
#include "platform/media/bda_interfaces.h"

namespace linuxdvb {

class ExtensionPropertySet {
 public:
  explicit ExtensionPropertySet(Frontend* frontend) : m_frontend(frontend) {}

  HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* typeSupport);
  HRESULT Get(REFGUID set, DWORD id, void* propertyData, DWORD dataLength, DWORD* bytesReturned);
  HRESULT Set(REFGUID set, DWORD id, const void* propertyData, DWORD dataLength);

 private:
  DWORD Directions(DWORD id) const;
  HRESULT Check(REFGUID set, DWORD id, DWORD direction) const;

  Frontend* const m_frontend;  // the card's; outlives this
};

}  // namespace linuxdvb
