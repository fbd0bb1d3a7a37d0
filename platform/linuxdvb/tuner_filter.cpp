#include "platform/linuxdvb/tuner_filter.h"

#include "platform/com/com_object.h"
#include "platform/linuxdvb/extension_property_set.h"
#include "platform/media/media_info_origin.h"
#include "recording/base_input_pin.h"

namespace linuxdvb {
namespace {

// The demodulator node: signal statistics from the frontend.
class SignalStatisticsNode final : public ComObject<SignalStatisticsNode, IBDA_SignalStatistics> {
 public:
  explicit SignalStatisticsNode(std::shared_ptr<Frontend> frontend) : m_frontend(std::move(frontend)) {}

  HRESULT get_SignalStrength(LONG* strength) override {
    return Read(strength, [](const SignalReading& r) { return static_cast<LONG>(r.strength); });
  }
  HRESULT get_SignalQuality(LONG* quality) override {
    return Read(quality, [](const SignalReading& r) { return static_cast<LONG>(r.quality); });
  }
  HRESULT get_SignalLocked(BOOLEAN* locked) override {
    return Read(locked, [](const SignalReading& r) { return static_cast<BOOLEAN>(r.locked ? 1 : 0); });
  }

 private:
  template <typename T, typename Pick>
  HRESULT Read(T* out, Pick pick) {
    if (!out) return E_POINTER;
    SignalReading reading;
    const HRESULT hr = m_frontend->ReadSignal(&reading);
    if (SUCCEEDED(hr)) *out = pick(reading);
    return hr;
  }

  const std::shared_ptr<Frontend> m_frontend;
};

}  // namespace

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

TunerFilter::TunerFilter(std::shared_ptr<Frontend> frontend)
    : CBaseFilter(nullptr, &m_lock, CLSID_LinuxDvbTunerFilter),
      m_frontend(std::move(frontend)),
      m_input(std::make_unique<InputPin>(this, &m_lock, m_frontend.get())),
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
  ComPtr<IBDA_SignalStatistics> node = MakeComObject<SignalStatisticsNode>(m_frontend);
  return node->QueryInterface(IUnknown::IID, reinterpret_cast<void**>(controlNode));
}

HRESULT TunerFilter::SubmitTune(const DvbsTuneParameters& parameters) { return m_frontend->Tune(parameters); }

CBasePin* TunerFilter::GetPin(int n) {
  if (n == 0) return m_input.get();
  if (n == 1) return m_output.get();
  return nullptr;
}

}  // namespace linuxdvb
