#include "platform/media/media_sample.h"

#include "platform/media/mem_allocator.h"

CMediaSample::CMediaSample(CMemAllocator* allocator, BYTE* buffer, LONG size)
    : CSampleBase(buffer, size), m_pAllocator(allocator) {}

ULONG CMediaSample::AddRef() { return static_cast<ULONG>(++m_cRef); }

ULONG CMediaSample::Release() {
  const std::int32_t count = --m_cRef;
  if (count == 0) {
    // The allocator may go with its last reference, and this sample with it.
    ComPtr<IMemAllocator> keep = std::move(m_holdAllocator);
    m_bOut = false;
    m_pAllocator->ReturnSample(this);
  }
  return static_cast<ULONG>(count);
}

void CMediaSample::HandOut(ComPtr<IMemAllocator> allocator) {
  m_holdAllocator = std::move(allocator);
  m_bOut = true;
  ResetProperties();
  m_cRef = 1;
}
