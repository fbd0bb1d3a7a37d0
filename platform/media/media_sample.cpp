#include "platform/media/media_sample.h"

#include "platform/media/media_status.h"
#include "platform/media/mem_allocator.h"

CMediaSample::CMediaSample(CMemAllocator* allocator, BYTE* buffer, LONG size)
    : m_pAllocator(allocator), m_pBuffer(buffer), m_cbBuffer(size) {}

HRESULT CMediaSample::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IMediaSample::IID || riid == IUnknown::IID) {
    *ppv = static_cast<IMediaSample*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

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
  m_lActual = m_cbBuffer;
  m_bTimeValid = m_bSyncPoint = m_bDiscontinuity = false;
  m_cRef = 1;
}

HRESULT CMediaSample::GetPointer(BYTE** buffer) {
  if (!buffer) return E_POINTER;
  *buffer = m_pBuffer;
  return S_OK;
}

LONG CMediaSample::GetSize() { return m_cbBuffer; }

HRESULT CMediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
  if (!start || !end) return E_POINTER;
  if (!m_bTimeValid) return VFW_E_SAMPLE_TIME_NOT_SET;
  *start = m_tStart;
  *end = m_tEnd;
  return S_OK;
}

HRESULT CMediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
  m_bTimeValid = start && end;
  if (m_bTimeValid) {
    m_tStart = *start;
    m_tEnd = *end;
  }
  return S_OK;
}

HRESULT CMediaSample::IsSyncPoint() { return m_bSyncPoint ? S_OK : S_FALSE; }

HRESULT CMediaSample::SetSyncPoint(BOOL syncPoint) {
  m_bSyncPoint = syncPoint != 0;
  return S_OK;
}

HRESULT CMediaSample::IsDiscontinuity() { return m_bDiscontinuity ? S_OK : S_FALSE; }

HRESULT CMediaSample::SetDiscontinuity(BOOL discontinuity) {
  m_bDiscontinuity = discontinuity != 0;
  return S_OK;
}

LONG CMediaSample::GetActualDataLength() { return m_lActual; }

HRESULT CMediaSample::SetActualDataLength(LONG length) {
  if (length < 0 || length > m_cbBuffer) return VFW_E_BUFFER_OVERFLOW;
  m_lActual = length;
  return S_OK;
}
