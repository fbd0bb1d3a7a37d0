// RingSample: a media sample over bytes the capture ring holds, so the
// streaming thread hands the stream on without copying it into a pool
// buffer. Owned by the capture delivery, which reuses it for each delivery
// and gives the bytes back to the ring once downstream has released the
// sample; references only count, they never free it.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include "platform/media/media_interfaces.h"

class RingSample final : public IMediaSample {
 public:
  // The bytes of the next delivery; one reference, the delivery's.
  void Point(std::span<const std::uint8_t> bytes);
  // References beyond the delivery's own: downstream still holds it.
  std::int32_t HeldElsewhere() const { return m_cRef.load() - 1; }

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT GetPointer(BYTE** buffer) override;
  LONG GetSize() override;
  HRESULT GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  HRESULT SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  HRESULT IsSyncPoint() override;
  HRESULT SetSyncPoint(BOOL syncPoint) override;
  HRESULT IsDiscontinuity() override;
  HRESULT SetDiscontinuity(BOOL discontinuity) override;
  LONG GetActualDataLength() override;
  // The bytes are the ring's: only a length within them is taken.
  HRESULT SetActualDataLength(LONG length) override;

 private:
  BYTE* m_pBuffer = nullptr;
  LONG m_cbBuffer = 0;
  LONG m_lActual = 0;
  bool m_bDiscontinuity = false;
  std::atomic<std::int32_t> m_cRef{0};
};
