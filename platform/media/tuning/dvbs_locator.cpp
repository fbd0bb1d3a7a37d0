#include "platform/media/tuning/dvbs_locator.h"

namespace tuning {

HRESULT DvbsLocator::Clone(ILocator** clone) {
  if (!clone) return E_POINTER;
  auto copy = MakeComObject<DvbsLocator>(*this);
  *clone = copy.Detach();
  return S_OK;
}

}  // namespace tuning
