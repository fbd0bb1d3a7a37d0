// A real card's tuner filter, as the receive graph sees the card's tuner:
// an input pin "Input0" that the network provider connects to, and an output
// pin that feeds the capture filter (the connection carries no samples; the
// adapter moves the data itself).
//
// Driver faces, each forwarding to the card's one Frontend:
//  - the input pin answers IKsPropertySet (the tuner extension property set,
//    extension_property_set.h) and IMediaInfoOrigin (the MATYPE bytes are
//    derived);
//  - the filter's control node (IBDA_Topology, bda_tuner_filter.h) answers
//    IBDA_SignalStatistics;
//  - the filter answers IBDA_DvbsTuning for the network provider's tunes.
// They may be called on any thread; the frontend does its own locking.
//
// Lifetime: a COM object made when the tuner device is bound; it keeps the
// frontend alive.
#pragma once

#include <memory>

#include "platform/linuxdvb/frontend.h"
#include "platform/media/bda_tuner_filter.h"

namespace linuxdvb {

// {7E3A1C58-2B94-4F0D-8C61-5D2E9A7B3F42}
inline constexpr GUID CLSID_LinuxDvbTunerFilter{0x7E3A1C58, 0x2B94, 0x4F0D, {0x8C, 0x61, 0x5D, 0x2E, 0x9A, 0x7B, 0x3F, 0x42}};

class TunerFilter final : public CBdaTunerFilter {
 public:
  TunerFilter(std::shared_ptr<Frontend> frontend, std::shared_ptr<KernelCalls> calls);
  ~TunerFilter() override;

  // IBDA_DvbsTuning
  HRESULT SubmitTune(const DvbsTuneParameters& parameters) override;
  // ICardCapabilities: every frontend of the system, the card's marked.
  HRESULT GetCapabilities(std::vector<CapabilityReport>* reports) override;

 private:
  class InputPin;

  CBasePin* Input() override;
  ComPtr<IBDA_SignalStatistics> MakeSignalStatisticsNode() override;

  std::shared_ptr<Frontend> m_frontend;
  std::shared_ptr<KernelCalls> m_calls;
  std::unique_ptr<InputPin> m_input;
};

}  // namespace linuxdvb
