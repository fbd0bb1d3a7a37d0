#include "platform/media/bda_tuner_filter.h"

CBdaTunerFilter::CBdaTunerFilter(REFCLSID clsid) : CBaseFilter(nullptr, &m_lock, clsid), m_output(this, &m_lock) {}

CBdaTunerFilter::~CBdaTunerFilter() = default;

HRESULT CBdaTunerFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IBDA_Topology::IID) return GetInterface(static_cast<IBDA_Topology*>(this), ppv);
  if (riid == IBDA_DvbsTuning::IID) return GetInterface(static_cast<IBDA_DvbsTuning*>(this), ppv);
  if (riid == ICardCapabilities::IID) return GetInterface(static_cast<ICardCapabilities*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* CBdaTunerFilter::GetPin(int n) {
  if (n == 0) return Input();
  if (n == 1) return &m_output;
  return nullptr;
}

HRESULT CBdaTunerFilter::GetControlNode(ULONG inputPinId, ULONG outputPinId, ULONG nodeType,
                                        IUnknown** controlNode) {
  if (!controlNode) return E_POINTER;
  *controlNode = nullptr;
  if (inputPinId != 0 || outputPinId != 1 || nodeType != 0) return E_INVALIDARG;
  ComPtr<IBDA_SignalStatistics> node = MakeSignalStatisticsNode();
  return node->QueryInterface(IUnknown::IID, reinterpret_cast<void**>(controlNode));
}
