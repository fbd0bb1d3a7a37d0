#include "platform/media/ring_sample.h"

#include "platform/media/media_status.h"

void RingSample::Point(std::span<const std::uint8_t> bytes) {
  // Downstream treats samples as read-only; the pointer is not const only by the interface.
  m_pBuffer = const_cast<BYTE*>(bytes.data());
  m_cbBuffer = static_cast<LONG>(bytes.size());
  m_lActual = m_cbBuffer;
  m_bDiscontinuity = false;
  m_cRef = 1;
}

HRESULT RingSample::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IMediaSample::IID || riid == IUnknown::IID) {
    *ppv = static_cast<IMediaSample*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG RingSample::AddRef() { return static_cast<ULONG>(++m_cRef); }
ULONG RingSample::Release() { return static_cast<ULONG>(--m_cRef); }

HRESULT RingSample::GetPointer(BYTE** buffer) {
  if (!buffer) return E_POINTER;
  *buffer = m_pBuffer;
  return S_OK;
}

LONG RingSample::GetSize() { return m_cbBuffer; }
HRESULT RingSample::GetTime(REFERENCE_TIME*, REFERENCE_TIME*) { return VFW_E_SAMPLE_TIME_NOT_SET; }
HRESULT RingSample::SetTime(REFERENCE_TIME*, REFERENCE_TIME*) { return S_OK; }
HRESULT RingSample::IsSyncPoint() { return S_FALSE; }
HRESULT RingSample::SetSyncPoint(BOOL) { return S_OK; }
HRESULT RingSample::IsDiscontinuity() { return m_bDiscontinuity ? S_OK : S_FALSE; }

HRESULT RingSample::SetDiscontinuity(BOOL discontinuity) {
  m_bDiscontinuity = discontinuity != 0;
  return S_OK;
}

LONG RingSample::GetActualDataLength() { return m_lActual; }

HRESULT RingSample::SetActualDataLength(LONG length) {
  if (length < 0 || length > m_cbBuffer) return VFW_E_BUFFER_OVERFLOW;
  m_lActual = length;
  return S_OK;
}
