#include "platform/linuxdvb/tuner_filter.h"

#include <cmath>

#include "platform/linuxdvb/capability_report.h"
#include "platform/linuxdvb/extension_property_set.h"
#include "platform/media/media_info_origin.h"
#include "platform/media/signal_statistics_node.h"
#include "recording/framework/base_input_pin.h"

namespace linuxdvb {

class TunerFilter::InputPin final : public CBaseInputPin, public IKsPropertySet, public IMediaInfoOrigin {
 public:
  InputPin(TunerFilter* filter, CCritSec* lock, Frontend* frontend)
      : CBaseInputPin(filter, lock, L"Input0"), m_properties(frontend) {}

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (ppv && riid == IKsPropertySet::IID) return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
    if (ppv && riid == IMediaInfoOrigin::IID) return GetInterface(static_cast<IMediaInfoOrigin*>(this), ppv);
    return CBaseInputPin::NonDelegatingQueryInterface(riid, ppv);
  }

  // The network provider's connection carries tuning, not data: any type.
  HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }

  // IKsPropertySet: the record is the property data.
  HRESULT Set(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD length) override {
    return m_properties.Set(set, id, data, length);
  }
  HRESULT Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD length, DWORD* returned) override {
    return m_properties.Get(set, id, data, length, returned);
  }
  HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
    return m_properties.QuerySupported(set, id, support);
  }

  // IMediaInfoOrigin: the kernel reports no baseband header.
  HRESULT GetMatypeOrigin(MatypeOrigin* origin) override {
    if (!origin) return E_POINTER;
    *origin = MatypeOrigin::Derived;
    return S_OK;
  }

 private:
  ExtensionPropertySet m_properties;
};

TunerFilter::TunerFilter(std::shared_ptr<Frontend> frontend, std::shared_ptr<KernelCalls> calls)
    : CBdaTunerFilter(CLSID_LinuxDvbTunerFilter),
      m_frontend(std::move(frontend)),
      m_calls(std::move(calls)),
      m_input(std::make_unique<InputPin>(this, Lock(), m_frontend.get())) {}

TunerFilter::~TunerFilter() = default;

CBasePin* TunerFilter::Input() { return m_input.get(); }

namespace {

// The demodulator node: the frontend's statistics, its link margin and its
// measurements where the driver gives them.
class SignalNode final
    : public CSignalStatisticsNode<Frontend, SignalReading, ILinkMarginStatistics, ISignalMeasurements> {
 public:
  using CSignalStatisticsNode::CSignalStatisticsNode;

  HRESULT get_LinkMargin(LONG* centiDb) override {
    if (!centiDb) return E_POINTER;
    SignalReading reading;
    if (const HRESULT hr = m_source->ReadSignal(&reading); FAILED(hr)) return hr;
    *centiDb = reading.marginDb ? std::lround(*reading.marginDb * 100) : 0;
    return reading.marginDb ? S_OK : S_FALSE;
  }
  HRESULT get_Measurements(SignalMeasurements* measurements) override {
    if (!measurements) return E_POINTER;
    SignalReading reading;
    if (const HRESULT hr = m_source->ReadSignal(&reading); FAILED(hr)) return hr;
    *measurements = {reading.strengthDbm, reading.cnrDb, reading.bitErrors, reading.bitsCounted,
                     reading.uncorrectedBlocks};
    return S_OK;
  }
};

}  // namespace

ComPtr<IBDA_SignalStatistics> TunerFilter::MakeSignalStatisticsNode() { return MakeComObject<SignalNode>(m_frontend); }

HRESULT TunerFilter::SubmitTune(const DvbsTuneParameters& parameters) { return m_frontend->Tune(parameters); }

HRESULT TunerFilter::GetCapabilities(std::vector<CapabilityReport>* reports) {
  if (!reports) return E_POINTER;
  *reports = ReportFrontends(*m_calls, m_frontend.get());
  return S_OK;
}

}  // namespace linuxdvb
