// CMediaSample: one buffer of a CMemAllocator's pool, handed out by
// GetBuffer with one reference. When its last reference goes it returns to
// its allocator (it holds the allocator with a reference while it is out,
// so the allocator outlives every outstanding sample). The sample's fields
// belong to whoever holds it; only the count is thread-safe.
#pragma once

#include <atomic>

#include "platform/com/com_ptr.h"
#include "platform/media/sample_base.h"

class CMemAllocator;

class CMediaSample final : public CSampleBase {
 public:
  CMediaSample(CMemAllocator* allocator, BYTE* buffer, LONG size);

  ULONG AddRef() override;
  ULONG Release() override;

  // Called by the allocator when it hands the sample out: one reference,
  // fresh properties, and a reference on the allocator.
  void HandOut(ComPtr<IMemAllocator> allocator);
  bool IsOut() const { return m_bOut; }

 private:
  CMemAllocator* const m_pAllocator;
  std::atomic<std::int32_t> m_cRef{0};
  ComPtr<IMemAllocator> m_holdAllocator;  // while out
  bool m_bOut = false;
};
