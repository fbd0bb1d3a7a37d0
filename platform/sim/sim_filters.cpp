#include "platform/sim/sim_filters.h"

#include "platform/com/com_ptr.h"
#include "platform/sim/sim_card.h"
#include "platform/sim/stream/sim_capture_filter.h"
#include "platform/sim/tuner_filter.h"

namespace sim {

HRESULT BindTunerFilter(std::shared_ptr<SimCard> card, REFIID riid, void** ppv) {
  if (!card || card->IsRemoved()) return E_FAIL;
  auto* filter = new TunerFilter(std::move(card));
  filter->NonDelegatingAddRef();
  const HRESULT hr = filter->NonDelegatingQueryInterface(riid, ppv);
  filter->NonDelegatingRelease();
  return hr;
}

HRESULT BindCaptureFilter(std::shared_ptr<SimCard> card, REFIID riid, void** ppv) {
  if (!card || card->IsRemoved()) return E_FAIL;
  return CSimCaptureFilter::Create(SimCaptureConfig{})->QueryInterface(riid, ppv);
}

}  // namespace sim
