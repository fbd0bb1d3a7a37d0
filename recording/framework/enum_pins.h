// CEnumPins: walks a filter's pins. It holds the filter with a reference and
// remembers the filter's pin version; when the pins change, Next refreshes
// (without handing out a pin twice) while Skip and Clone report
// VFW_E_ENUM_OUT_OF_SYNC. Own reference count, starting at 1. One enumerator
// is used by one thread at a time.
#pragma once

#include <atomic>
#include <vector>

#include "platform/media/media_interfaces.h"

class CBaseFilter;

class CEnumPins final : public IEnumPins {
 public:
  // A fresh enumerator, or a copy of other's position and list.
  CEnumPins(CBaseFilter* filter, const CEnumPins* other);
  CEnumPins(const CEnumPins&) = delete;
  CEnumPins& operator=(const CEnumPins&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT Next(ULONG count, IPin** pins, ULONG* fetched) override;
  HRESULT Skip(ULONG count) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumPins** clone) override;

 private:
  ~CEnumPins();
  bool AreWeOutOfSync() const;
  void Refresh();

  std::atomic<std::int32_t> m_cRef{1};
  CBaseFilter* const m_pFilter;  // holds a reference
  int m_Position = 0;
  int m_PinCount = 0;
  LONG m_Version = 0;
  std::vector<IPin*> m_PinCache;  // pins already handed out, for identity only
};
