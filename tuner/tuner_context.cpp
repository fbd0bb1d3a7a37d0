#include "tuner/tuner_context.h"

TunerContext& TheTunerContext() {
  static TunerContext context;
  return context;
}

void TunerContext::SetKsCtrl(ComPtr<IKsPropertySet> ksCtrl) {
  // The old reference is dropped after the lock, outside the driver's reach.
  std::lock_guard driver(m_hDriverMutex);
  m_pKsCtrl.Swap(ksCtrl);
}

void TunerContext::SetTunerFilter(ComPtr<IBaseFilter> tunerFilter) {
  std::lock_guard driver(m_hDriverMutex);
  m_pTunerFilter.Swap(tunerFilter);
}

ComPtr<IKsPropertySet> TunerContext::SharedKsCtrl() {
  std::lock_guard driver(m_hDriverMutex);
  return m_pKsCtrl;
}

std::atomic<std::int32_t>& SignalLockedFlag() {
  static std::atomic<std::int32_t> flag{0};
  return flag;
}
