#include "platform/sim/tuner_filter.h"

#include <cmath>

#include "platform/media/media_info_origin.h"
#include "platform/media/signal_statistics_node.h"
#include "platform/sim/driver/tuner_driver.h"
#include "platform/sim/sim_card.h"
#include "recording/framework/base_input_pin.h"

namespace sim {
namespace {

// The tuner's demodulator node: signal statistics and link margin from the
// driver.
class SignalStatisticsNode final : public CSignalStatisticsNode<TunerDriver, SignalStatistics, ILinkMarginStatistics> {
 public:
  using CSignalStatisticsNode::CSignalStatisticsNode;

  HRESULT get_LinkMargin(LONG* centiDb) override {
    if (!centiDb) return E_POINTER;
    SignalStatistics statistics;
    const HRESULT hr = m_source->ReadSignal(&statistics);
    if (FAILED(hr)) return hr;
    *centiDb = statistics.marginDb ? std::lround(*statistics.marginDb * 100) : 0;
    return statistics.marginDb ? S_OK : S_FALSE;
  }
};

}  // namespace

class TunerFilter::InputPin final : public CBaseInputPin,
                                    public IKsPropertySet,
                                    public IPositionerStatus,
                                    public IMediaInfoOrigin {
 public:
  InputPin(TunerFilter* filter, CCritSec* lock, TunerDriver* driver, TunerInputPin shape)
      : CBaseInputPin(filter, lock, shape == TunerInputPin::Missing ? kTunerFaultyInputPinName : kTunerInputPinName),
        m_driver(driver),
        m_offersPropertySet(shape == TunerInputPin::Normal) {}

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (ppv && riid == IKsPropertySet::IID && m_offersPropertySet)
      return GetInterface(static_cast<IKsPropertySet*>(this), ppv);
    if (ppv && riid == IPositionerStatus::IID && m_offersPropertySet)
      return GetInterface(static_cast<IPositionerStatus*>(this), ppv);
    if (ppv && riid == IMediaInfoOrigin::IID && m_offersPropertySet)
      return GetInterface(static_cast<IMediaInfoOrigin*>(this), ppv);
    return CBaseInputPin::NonDelegatingQueryInterface(riid, ppv);
  }

  // The network provider's connection carries tuning, not data: any type.
  HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }

  // IKsPropertySet: the card's property set; the record is the property data.
  HRESULT Set(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD length) override {
    return m_driver->Set(set, id, data, length);
  }
  HRESULT Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD length, DWORD* returned) override {
    return m_driver->Get(set, id, data, length, returned);
  }
  HRESULT QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
    return m_driver->QuerySupported(set, id, support);
  }

  // IPositionerStatus: the dish motor the DiSEqC messages drive.
  HRESULT GetPosition(double* angleDeg, BOOL* moving) override {
    if (!angleDeg || !moving) return E_POINTER;
    const MotorPosition motor = m_driver->Motor();
    *angleDeg = motor.angleDeg;
    *moving = motor.moving ? 1 : 0;
    return S_OK;
  }

  // IMediaInfoOrigin: the simulated demodulator hands on the carrier's own MATYPE.
  HRESULT GetMatypeOrigin(MatypeOrigin* origin) override {
    if (!origin) return E_POINTER;
    *origin = MatypeOrigin::Received;
    return S_OK;
  }

 private:
  TunerDriver* const m_driver;  // the filter's; lives as long as the pin
  const bool m_offersPropertySet;
};

TunerFilter::TunerFilter(std::shared_ptr<SimCard> card)
    : CBdaTunerFilter(CLSID_SimTunerFilter),
      m_card(std::move(card)),
      m_driver(m_card->Driver()),
      m_input(std::make_unique<InputPin>(this, Lock(), m_driver.get(), m_card->Options().tunerInputPin)) {}

TunerFilter::~TunerFilter() = default;

CBasePin* TunerFilter::Input() { return m_input.get(); }

ComPtr<IBDA_SignalStatistics> TunerFilter::MakeSignalStatisticsNode() {
  return MakeComObject<SignalStatisticsNode>(m_driver);
}

HRESULT TunerFilter::SubmitTune(const DvbsTuneParameters& parameters) { return m_driver->SubmitTune(parameters); }

HRESULT TunerFilter::GetCapabilities(std::vector<CapabilityReport>* reports) {
  if (!reports) return E_POINTER;
  CapabilityReport card;
  card.title = "Simulated Orvane RX40";
  card.inUse = true;
  card.facts = {{"delivery systems", "DVB-S, DVB-S2"},
                {"frequency", "950 to 2150 MHz"},
                {"symbol rate", "1 to 72 Msym/s"},
                {"capabilities", "every DVB-S2 MODCOD, modulation and code rate found by the demodulator, "
                                 "MATYPE bytes received"},
                {"input streams", "selectable (ISI 0 to 255, PLS)"},
                {"statistics", "strength relative, C/N dB (link margin), bit errors none, uncorrected blocks none"},
                {"LNB voltage", "under the program's control"}};
  *reports = {card};
  return S_OK;
}

}  // namespace sim
