// CSampleBase: what every media sample carries beside who owns its bytes:
// the bytes, the length in use, the times and the two flags, with the
// interface's accessors. The reference count, and what the last release
// does, belong to the sample: a pool's sample goes back to its allocator
// (media_sample.h), the capture ring's is reused by its delivery
// (ring_sample.h). The fields belong to whoever holds the sample.
#pragma once

#include "platform/media/media_interfaces.h"

class CSampleBase : public IMediaSample {
 public:
  CSampleBase(const CSampleBase&) = delete;
  CSampleBase& operator=(const CSampleBase&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppv) override;

  HRESULT GetPointer(BYTE** buffer) override;
  LONG GetSize() override;
  HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  HRESULT SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  HRESULT IsSyncPoint() override;
  HRESULT SetSyncPoint(BOOL syncPoint) override;
  HRESULT IsDiscontinuity() override;
  HRESULT SetDiscontinuity(BOOL discontinuity) override;
  LONG GetActualDataLength() override;
  // VFW_E_BUFFER_OVERFLOW beyond the buffer's size.
  HRESULT SetActualDataLength(LONG length) override;

 protected:
  CSampleBase(BYTE* buffer, LONG size) : m_pBuffer(buffer), m_cbBuffer(size), m_lActual(size) {}
  ~CSampleBase() = default;

  // New bytes (the ring's sample points at each delivery's).
  void SetBytes(BYTE* buffer, LONG size);
  // Fresh properties: every byte in use, no times, no flags.
  void ResetProperties();

 private:
  BYTE* m_pBuffer;
  LONG m_cbBuffer;
  LONG m_lActual;
  bool m_bTimeValid = false, m_bSyncPoint = false, m_bDiscontinuity = false;
  REFERENCE_TIME m_tStart = 0, m_tEnd = 0;
};
