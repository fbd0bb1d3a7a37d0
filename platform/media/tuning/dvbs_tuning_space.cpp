#include "platform/media/tuning/dvbs_tuning_space.h"

#include "platform/com/runtime.h"
#include "platform/media/tuning/dvb_tune_request.h"

namespace tuning {

HRESULT DvbsTuningSpace::get_NetworkType(std::wstring* clsidText) {
  if (!clsidText) return E_POINTER;
  *clsidText = FormatGuidWide(m_values.networkType);
  return S_OK;
}

HRESULT DvbsTuningSpace::put_NetworkType(const std::wstring& clsidText) {
  CLSID clsid;
  const HRESULT hr = CLSIDFromString(clsidText, &clsid);
  if (SUCCEEDED(hr)) m_values.networkType = clsid;
  return hr;
}

HRESULT DvbsTuningSpace::get_DefaultLocator(ILocator** locator) {
  if (!locator) return E_POINTER;
  *locator = ComPtr<ILocator>(m_defaultLocator).Detach();
  return S_OK;
}

HRESULT DvbsTuningSpace::put_DefaultLocator(ILocator* locator) {
  m_defaultLocator = ComPtr<ILocator>(locator);
  return S_OK;
}

HRESULT DvbsTuningSpace::CreateTuneRequest(ITuneRequest** request) {
  if (!request) return E_POINTER;
  *request = MakeComObject<DvbTuneRequest>(this).Detach();
  return S_OK;
}

HRESULT DvbsTuningSpace::Clone(ITuningSpace** clone) {
  if (!clone) return E_POINTER;
  auto copy = MakeComObject<DvbsTuningSpace>(m_values);
  if (m_defaultLocator) m_defaultLocator->Clone(copy->m_defaultLocator.ReleaseAndGetAddressOf());
  *clone = copy.Detach();
  return S_OK;
}

}  // namespace tuning
