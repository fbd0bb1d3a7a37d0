// A media sample over a test's own bytes, with a failure to inject into
// GetPointer.
#pragma once

#include <vector>

#include "platform/com/com_object.h"
#include "platform/media/media_interfaces.h"

class TestSample final : public ComObject<TestSample, IMediaSample> {
 public:
  explicit TestSample(std::vector<BYTE> bytes) : m_bytes(std::move(bytes)), m_actual(static_cast<LONG>(m_bytes.size())) {}

  HRESULT GetPointer(BYTE** buffer) override {
    if (pointerFailure != S_OK) return pointerFailure;
    *buffer = m_bytes.data();
    return S_OK;
  }
  LONG GetSize() override { return static_cast<LONG>(m_bytes.size()); }
  HRESULT GetTime(REFERENCE_TIME*, REFERENCE_TIME*) override { return E_NOTIMPL; }
  HRESULT SetTime(REFERENCE_TIME*, REFERENCE_TIME*) override { return E_NOTIMPL; }
  HRESULT IsSyncPoint() override { return S_FALSE; }
  HRESULT SetSyncPoint(BOOL) override { return S_OK; }
  HRESULT IsDiscontinuity() override { return S_FALSE; }
  HRESULT SetDiscontinuity(BOOL) override { return S_OK; }
  LONG GetActualDataLength() override { return m_actual; }
  HRESULT SetActualDataLength(LONG length) override {
    m_actual = length;  // unchecked on purpose: tests hand the sink bad lengths
    return S_OK;
  }

  HRESULT pointerFailure = S_OK;

 private:
  std::vector<BYTE> m_bytes;
  LONG m_actual;
};

// Bytes 0, 1, 2, ... from a start value, so that order and origin show.
inline std::vector<BYTE> Counting(std::size_t size, BYTE start) {
  std::vector<BYTE> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<BYTE>(start + i);
  return bytes;
}
