#include "platform/media/tuning/dvbs_network_provider.h"

namespace tuning {

// {5D7B0C8E-3F2A-4B61-8E4D-1C9A6F2B7E30}
inline constexpr GUID CLSID_DvbsNetworkProviderFilter{0x5D7B0C8E, 0x3F2A, 0x4B61, {0x8E, 0x4D, 0x1C, 0x9A, 0x6F, 0x2B, 0x7E, 0x30}};

class DvbsNetworkProvider::OutputPin final : public CBasePin {
 public:
  OutputPin(DvbsNetworkProvider* filter, CCritSec* lock) : CBasePin(filter, lock, kProviderOutputPinName, PINDIR_OUTPUT) {}

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    return mt && mt->majortype == MEDIATYPE_BDA_Antenna ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }
  HRESULT GetMediaType(int position, CMediaType* mt) override {
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    mt->majortype = MEDIATYPE_BDA_Antenna;
    return S_OK;
  }
  HRESULT BeginFlush() override { return S_OK; }
  HRESULT EndFlush() override { return S_OK; }
};

DvbsNetworkProvider::DvbsNetworkProvider()
    : CBaseFilter(nullptr, &m_lock, CLSID_DvbsNetworkProviderFilter), m_output(std::make_unique<OutputPin>(this, &m_lock)) {}

DvbsNetworkProvider::~DvbsNetworkProvider() = default;

HRESULT DvbsNetworkProvider::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == ITuner::IID) return GetInterface(static_cast<ITuner*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

CBasePin* DvbsNetworkProvider::GetPin(int n) { return n == 0 ? m_output.get() : nullptr; }

HRESULT DvbsNetworkProvider::get_TuningSpace(ITuningSpace** space) {
  if (!space) return E_POINTER;
  *space = ComPtr<ITuningSpace>(m_tuningSpace).Detach();
  return S_OK;
}

HRESULT DvbsNetworkProvider::put_TuningSpace(ITuningSpace* space) {
  m_tuningSpace = ComPtr<ITuningSpace>(space);
  return S_OK;
}

HRESULT DvbsNetworkProvider::get_TuneRequest(ITuneRequest** request) {
  if (!request) return E_POINTER;
  *request = ComPtr<ITuneRequest>(m_tuneRequest).Detach();
  return m_tuneRequest ? S_OK : S_FALSE;
}

HRESULT DvbsNetworkProvider::Validate(ITuneRequest* request) {
  DvbsTuneParameters parameters;
  return request ? ReadTuneParameters(request, &parameters) : E_POINTER;
}

HRESULT DvbsNetworkProvider::put_TuneRequest(ITuneRequest* request) {
  if (!request) return E_POINTER;
  m_tuneRequest = ComPtr<ITuneRequest>(request);
  DvbsTuneParameters parameters;
  const HRESULT read = ReadTuneParameters(request, &parameters);
  if (read == S_FALSE) return S_OK;  // nothing to tune to yet
  if (FAILED(read)) return read;
  ComPtr<IBDA_DvbsTuning> tuner = ConnectedTuner();
  if (!tuner) return E_FAIL;
  return tuner->SubmitTune(parameters);
}

HRESULT DvbsNetworkProvider::ReadTuneParameters(ITuneRequest* request, DvbsTuneParameters* p) {
  ComPtr<ILocator> locator;
  request->get_Locator(locator.ReleaseAndGetAddressOf());
  if (!locator) return S_FALSE;
  ComPtr<IDVBSLocator> dvbsLocator = locator.As<IDVBSLocator>();
  ComPtr<ITuningSpace> space;
  request->get_TuningSpace(space.ReleaseAndGetAddressOf());
  ComPtr<IDVBSTuningSpace> dvbsSpace = space.As<IDVBSTuningSpace>();
  if (!dvbsLocator || !dvbsSpace) return E_INVALIDARG;
  *p = {};
  dvbsLocator->get_CarrierFrequency(&p->carrierFrequencyKHz);
  dvbsLocator->get_SignalPolarisation(&p->polarisation);
  dvbsLocator->get_SymbolRate(&p->symbolRate);
  dvbsSpace->get_LowOscillator(&p->lowOscillatorKHz);
  dvbsSpace->get_HighOscillator(&p->highOscillatorKHz);
  dvbsSpace->get_LNBSwitch(&p->lnbSwitchKHz);
  dvbsSpace->get_SpectralInversion(&p->inversion);
  if (ComPtr<IDVBSLocator2> equipment = locator.As<IDVBSLocator2>()) {
    equipment->get_LNBBand(&p->band);
    equipment->get_ToneBurst(&p->burst);
    equipment->get_ScramblingCode(&p->plsGold);
  }
  return S_OK;
}

ComPtr<IBDA_DvbsTuning> DvbsNetworkProvider::ConnectedTuner() {
  ComPtr<IPin> peer = m_output->GetConnected();
  if (!peer) return nullptr;
  PIN_INFO info{};
  if (FAILED(peer->QueryPinInfo(&info)) || !info.pFilter) return nullptr;
  auto filter = ComPtr<IBaseFilter>::Attach(info.pFilter);
  return filter.As<IBDA_DvbsTuning>();
}

HRESULT CreateDvbsNetworkProvider(REFIID riid, void** ppv) { return CreateFrameworkObject<DvbsNetworkProvider>(riid, ppv); }

}  // namespace tuning
