#include "platform/sim/tuner_filter.h"

#include <cmath>

#include "platform/com/com_object.h"
#include "platform/media/media_info_origin.h"
#include "platform/sim/driver/tuner_driver.h"
#include "platform/sim/sim_card.h"

namespace sim {
namespace {

// The tuner's demodulator node: signal statistics and link margin from the
// driver.
class SignalStatisticsNode final
    : public ComObject<SignalStatisticsNode, IBDA_SignalStatistics, ILinkMarginStatistics> {
 public:
  explicit SignalStatisticsNode(std::shared_ptr<TunerDriver> driver) : m_driver(std::move(driver)) {}

  HRESULT get_SignalStrength(LONG* strength) override {
    return Read(strength, [](const SignalStatistics& s) { return s.strength; });
  }
  HRESULT get_SignalQuality(LONG* quality) override {
    return Read(quality, [](const SignalStatistics& s) { return s.quality; });
  }
  HRESULT get_SignalLocked(BOOLEAN* locked) override {
    return Read(locked, [](const SignalStatistics& s) { return static_cast<BOOLEAN>(s.locked ? 1 : 0); });
  }
  HRESULT get_LinkMargin(LONG* centiDb) override {
    if (!centiDb) return E_POINTER;
    SignalStatistics statistics;
    const HRESULT hr = m_driver->ReadSignal(&statistics);
    if (FAILED(hr)) return hr;
    *centiDb = statistics.marginDb ? std::lround(*statistics.marginDb * 100) : 0;
    return statistics.marginDb ? S_OK : S_FALSE;
  }

 private:
  template <typename T, typename Pick>
  HRESULT Read(T* out, Pick pick) {
    if (!out) return E_POINTER;
    SignalStatistics statistics;
    const HRESULT hr = m_driver->ReadSignal(&statistics);
    if (SUCCEEDED(hr)) *out = pick(statistics);
    return hr;
  }

  const std::shared_ptr<TunerDriver> m_driver;
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
    : CBaseFilter(nullptr, &m_lock, CLSID_SimTunerFilter),
      m_card(std::move(card)),
      m_driver(m_card->Driver()),
      m_input(std::make_unique<InputPin>(this, &m_lock, m_driver.get(), m_card->Options().tunerInputPin)),
      m_output(std::make_unique<CTunerOutputPin>(this, &m_lock)) {}

TunerFilter::~TunerFilter() = default;

HRESULT TunerFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IBDA_Topology::IID) return GetInterface(static_cast<IBDA_Topology*>(this), ppv);
  if (riid == IBDA_DvbsTuning::IID) return GetInterface(static_cast<IBDA_DvbsTuning*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT TunerFilter::GetControlNode(ULONG inputPinId, ULONG outputPinId, ULONG nodeType, IUnknown** controlNode) {
  if (!controlNode) return E_POINTER;
  *controlNode = nullptr;
  if (inputPinId != 0 || outputPinId != 1 || nodeType != 0) return E_INVALIDARG;
  ComPtr<IBDA_SignalStatistics> node = MakeComObject<SignalStatisticsNode>(m_driver);
  return node->QueryInterface(IUnknown::IID, reinterpret_cast<void**>(controlNode));
}

HRESULT TunerFilter::SubmitTune(const DvbsTuneParameters& parameters) { return m_driver->SubmitTune(parameters); }

CBasePin* TunerFilter::GetPin(int n) {
  if (n == 0) return m_input.get();
  if (n == 1) return m_output.get();
  return nullptr;
}

}  // namespace sim
