// CMediaSample: one buffer of a CMemAllocator's pool, handed out by
// GetBuffer with one reference. When its last reference goes it returns to
// its allocator (it holds the allocator with a reference while it is out,
// so the allocator outlives every outstanding sample). The sample's fields
// belong to whoever holds it; only the count is thread-safe.
#pragma once

#include <atomic>

#include "platform/com/com_ptr.h"
#include "platform/media/media_interfaces.h"

class CMemAllocator;

class CMediaSample final : public IMediaSample {
 public:
  CMediaSample(CMemAllocator* allocator, BYTE* buffer, LONG size);
  CMediaSample(const CMediaSample&) = delete;
  CMediaSample& operator=(const CMediaSample&) = delete;

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
  // VFW_E_BUFFER_OVERFLOW beyond the buffer's size.
  HRESULT SetActualDataLength(LONG length) override;

  // Called by the allocator when it hands the sample out: one reference,
  // fresh properties, and a reference on the allocator.
  void HandOut(ComPtr<IMemAllocator> allocator);
  bool IsOut() const { return m_bOut; }

 private:
  CMemAllocator* const m_pAllocator;
  BYTE* const m_pBuffer;
  const LONG m_cbBuffer;
  std::atomic<std::int32_t> m_cRef{0};
  ComPtr<IMemAllocator> m_holdAllocator;  // while out
  bool m_bOut = false;
  LONG m_lActual = 0;
  bool m_bTimeValid = false, m_bSyncPoint = false, m_bDiscontinuity = false;
  REFERENCE_TIME m_tStart = 0, m_tEnd = 0;
};
