// CDestFilter: the stream sink, the last filter of the receive graph. It has
// one input pin ("Input", a CDumpInputPin) which it creates and owns; the pin
// dies with the filter. Its framework lock is the sink lock passed in by the
// creator. It answers IBaseFilter, IMediaFilter and IPersist (and IUnknown);
// it has no registration data.
//
// Created with a reference count of 0: the creator takes the first
// reference (the tuner context's), the graph its own when it adds the filter.
#pragma once

#include <memory>

#include "recording/framework/base_filter.h"

class CDumpInputPin;

// {90D647A7-DFBB-48F9-861F-33F3660C03FD}
inline constexpr CLSID CLSID_DestFilter{0x90D647A7, 0xDFBB, 0x48F9, {0x86, 0x1F, 0x33, 0xF3, 0x66, 0x0C, 0x03, 0xFD}};

class CDestFilter final : public CBaseFilter {
 public:
  // result receives S_OK (kept for the creator's status check).
  CDestFilter(IUnknown* outer, CCritSec* lock, HRESULT* result);
  ~CDestFilter() override;

  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  int GetPinCount() override;
  CBasePin* GetPin(int n) override;

  CDumpInputPin* InputPin() const { return m_pPin.get(); }

 private:
  std::unique_ptr<CDumpInputPin> m_pPin;
};
