#include "platform/media/tuning/dvb_tune_request.h"

namespace tuning {

HRESULT DvbTuneRequest::get_TuningSpace(ITuningSpace** space) {
  if (!space) return E_POINTER;
  *space = ComPtr<ITuningSpace>(m_space).Detach();
  return S_OK;
}

HRESULT DvbTuneRequest::get_Locator(ILocator** locator) {
  if (!locator) return E_POINTER;
  *locator = ComPtr<ILocator>(m_locator).Detach();
  return m_locator ? S_OK : S_FALSE;
}

HRESULT DvbTuneRequest::put_Locator(ILocator* locator) {
  m_locator = ComPtr<ILocator>(locator);
  return S_OK;
}

HRESULT DvbTuneRequest::Clone(ITuneRequest** clone) {
  if (!clone) return E_POINTER;
  auto copy = MakeComObject<DvbTuneRequest>(*this);
  if (m_locator) m_locator->Clone(copy->m_locator.ReleaseAndGetAddressOf());
  *clone = copy.Detach();
  return S_OK;
}

}  // namespace tuning
