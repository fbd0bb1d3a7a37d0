#include "platform/media/sample_base.h"

#include "platform/media/media_status.h"

HRESULT CSampleBase::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IMediaSample::IID || riid == IUnknown::IID) {
    *ppv = static_cast<IMediaSample*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

void CSampleBase::SetBytes(BYTE* buffer, LONG size) {
  m_pBuffer = buffer;
  m_cbBuffer = size;
}

void CSampleBase::ResetProperties() {
  m_lActual = m_cbBuffer;
  m_bTimeValid = m_bSyncPoint = m_bDiscontinuity = false;
}

HRESULT CSampleBase::GetPointer(BYTE** buffer) {
  if (!buffer) return E_POINTER;
  *buffer = m_pBuffer;
  return S_OK;
}

LONG CSampleBase::GetSize() { return m_cbBuffer; }

HRESULT CSampleBase::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
  if (!start || !end) return E_POINTER;
  if (!m_bTimeValid) return VFW_E_SAMPLE_TIME_NOT_SET;
  *start = m_tStart;
  *end = m_tEnd;
  return S_OK;
}

HRESULT CSampleBase::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
  m_bTimeValid = start && end;
  if (m_bTimeValid) {
    m_tStart = *start;
    m_tEnd = *end;
  }
  return S_OK;
}

HRESULT CSampleBase::IsSyncPoint() { return m_bSyncPoint ? S_OK : S_FALSE; }

HRESULT CSampleBase::SetSyncPoint(BOOL syncPoint) {
  m_bSyncPoint = syncPoint != 0;
  return S_OK;
}

HRESULT CSampleBase::IsDiscontinuity() { return m_bDiscontinuity ? S_OK : S_FALSE; }

HRESULT CSampleBase::SetDiscontinuity(BOOL discontinuity) {
  m_bDiscontinuity = discontinuity != 0;
  return S_OK;
}

LONG CSampleBase::GetActualDataLength() { return m_lActual; }

HRESULT CSampleBase::SetActualDataLength(LONG length) {
  if (length < 0 || length > m_cbBuffer) return VFW_E_BUFFER_OVERFLOW;
  m_lActual = length;
  return S_OK;
}
