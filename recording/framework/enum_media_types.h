// CEnumMediaTypes: walks a pin's preferred media types (CBasePin::GetMediaType).
// Each type is handed out in a task-allocated record that the receiver frees
// (DeleteMediaType). Holds the pin (so its filter) with a reference; when the
// pin's media type version changes, Next, Skip and Clone report
// VFW_E_ENUM_OUT_OF_SYNC until Reset. Own reference count, starting at 1.
// One enumerator is used by one thread at a time.
#pragma once

#include <atomic>

#include "platform/media/media_interfaces.h"

class CBasePin;

class CEnumMediaTypes final : public IEnumMediaTypes {
 public:
  CEnumMediaTypes(CBasePin* pin, const CEnumMediaTypes* other);
  CEnumMediaTypes(const CEnumMediaTypes&) = delete;
  CEnumMediaTypes& operator=(const CEnumMediaTypes&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
  HRESULT Skip(ULONG count) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumMediaTypes** clone) override;

 private:
  ~CEnumMediaTypes();
  bool AreWeOutOfSync() const;

  std::atomic<std::int32_t> m_cRef{1};
  CBasePin* const m_pPin;  // holds a reference
  int m_Position = 0;
  LONG m_Version = 0;
};
