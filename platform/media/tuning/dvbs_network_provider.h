// The DVB-S network provider: the graph's source of tuning. It holds the
// tuning space and the current tune request, and hands every tune request
// that carries a locator to the tuner filter connected to its output pin.
//
// UI thread only. m_lock guards the framework state of filter and pin; the
// tuning space and request are touched only on the UI thread.
#pragma once

#include <memory>

#include "platform/com/com_ptr.h"
#include "platform/media/bda_interfaces.h"
#include "recording/framework/base_filter.h"
#include "recording/framework/base_pin.h"

namespace tuning {

// The type the provider's pin offers: a control connection, no samples.
inline constexpr GUID MEDIATYPE_BDA_Antenna{0x71985F41, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
inline constexpr wchar_t kProviderOutputPinName[] = L"Antenna Out";

class DvbsNetworkProvider final : public CBaseFilter, public ITuner {
 public:
  DvbsNetworkProvider();
  ~DvbsNetworkProvider() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override;

  // ITuner
  HRESULT get_TuningSpace(ITuningSpace** space) override;
  HRESULT put_TuningSpace(ITuningSpace* space) override;
  HRESULT get_TuneRequest(ITuneRequest** request) override;
  // Keeps the request and tunes the connected tuner when the request has a
  // locator; the tuner's refusal is returned. No request: E_POINTER.
  HRESULT put_TuneRequest(ITuneRequest* request) override;
  HRESULT Validate(ITuneRequest* request) override;

 private:
  class OutputPin;

  // The values the tuner needs, from the request's locator and tuning space.
  static HRESULT ReadTuneParameters(ITuneRequest* request, DvbsTuneParameters* parameters);
  ComPtr<IBDA_DvbsTuning> ConnectedTuner();

  CCritSec m_lock;
  std::unique_ptr<OutputPin> m_output;
  ComPtr<ITuningSpace> m_tuningSpace;
  ComPtr<ITuneRequest> m_tuneRequest;
};

// Class factory of the provider (registered under the DVB-S network type).
HRESULT CreateDvbsNetworkProvider(REFIID riid, void** ppv);

}  // namespace tuning
