#include "recording/dest_filter.h"

#include "recording/dump_input_pin.h"

CDestFilter::CDestFilter(IUnknown* outer, CCritSec* lock, HRESULT* result)
    : CBaseFilter(outer, lock, CLSID_DestFilter), m_pPin(std::make_unique<CDumpInputPin>(this, lock)) {
  if (result) *result = S_OK;
}

CDestFilter::~CDestFilter() = default;

HRESULT CDestFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IBaseFilter::IID || riid == IMediaFilter::IID || riid == IPersist::IID)
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

int CDestFilter::GetPinCount() { return 1; }

CBasePin* CDestFilter::GetPin(int n) { return n == 0 ? m_pPin.get() : nullptr; }
