#include "platform/sim/tuner_filter.h"

#include "platform/sim/sim_card.h"

namespace sim {
namespace {

// The tuner and capture filters exchange a transport stream.
void FillTransportStreamType(CMediaType* mt) {
  mt->majortype = MEDIATYPE_Stream;
  mt->subtype = MEDIASUBTYPE_MPEG2_TRANSPORT;
  mt->bFixedSizeSamples = 1;
  mt->lSampleSize = 188;
}

}  // namespace

class TunerFilter::InputPin final : public CBaseInputPin {
 public:
  InputPin(TunerFilter* filter, CCritSec* lock) : CBaseInputPin(filter, lock, kTunerInputPinName) {}
  // The network provider's connection carries tuning, not data: any type.
  HRESULT CheckMediaType(const AM_MEDIA_TYPE*) override { return S_OK; }
};

class TunerFilter::OutputPin final : public CBasePin {
 public:
  OutputPin(TunerFilter* filter, CCritSec* lock) : CBasePin(filter, lock, kTunerOutputPinName, PINDIR_OUTPUT) {}
  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override {
    return mt && mt->majortype == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }
  HRESULT GetMediaType(int position, CMediaType* mt) override {
    if (position < 0) return E_INVALIDARG;
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    FillTransportStreamType(mt);
    return S_OK;
  }
  // Nothing is delivered through this pin, so it needs no allocator.
  HRESULT Inactive() override { return S_OK; }
  HRESULT BeginFlush() override { return S_OK; }
  HRESULT EndFlush() override { return S_OK; }
};

TunerFilter::TunerFilter(std::shared_ptr<SimCard> card)
    : CBaseFilter(nullptr, &m_lock, CLSID_SimTunerFilter),
      m_card(std::move(card)),
      m_input(std::make_unique<InputPin>(this, &m_lock)),
      m_output(std::make_unique<OutputPin>(this, &m_lock)) {}

TunerFilter::~TunerFilter() = default;

CBasePin* TunerFilter::GetPin(int n) {
  if (n == 0) return m_input.get();
  if (n == 1) return m_output.get();
  return nullptr;
}

}  // namespace sim
