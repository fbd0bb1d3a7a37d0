// The simulated card's tuner filter: an input pin "Input0" that the network
// provider connects to, and an output pin that feeds the capture filter.
// Like a real tuner's, the connection to the capture filter carries no
// samples in user space: the card moves the data itself.
//
// Driver faces, each forwarding to the card's one TunerDriver:
//  - the input pin answers IKsPropertySet (the tuner extension property set)
//    and IPositionerStatus (the dish motor's angle, which a real card cannot
//    report) and IMediaInfoOrigin (the MATYPE bytes are the carrier's own);
//  - the filter's control node (IBDA_Topology, bda_tuner_filter.h) answers
//    IBDA_SignalStatistics and ILinkMarginStatistics;
//  - the filter answers IBDA_DvbsTuning for the network provider's tunes.
// They may be called on any thread; the driver does its own locking.
//
// Lifetime: a COM object made when the tuner device is bound; its pins live
// and die with it. It shares the driver with the card and the card's other
// filters.
#pragma once

#include <memory>

#include "platform/media/bda_tuner_filter.h"
#include "platform/media/positioner_status.h"

namespace sim {

class SimCard;
class TunerDriver;

// {3C9D2F41-8B7A-4E1D-9A55-6B2E7C0D4F11}
inline constexpr GUID CLSID_SimTunerFilter{0x3C9D2F41, 0x8B7A, 0x4E1D, {0x9A, 0x55, 0x6B, 0x2E, 0x7C, 0x0D, 0x4F, 0x11}};

inline constexpr wchar_t kTunerInputPinName[] = L"Input0";
// The input pin's name on a card whose pin is not the expected one.
inline constexpr wchar_t kTunerFaultyInputPinName[] = L"Antenna In";

class TunerFilter final : public CBdaTunerFilter {
 public:
  explicit TunerFilter(std::shared_ptr<SimCard> card);
  ~TunerFilter() override;

  // IBDA_DvbsTuning
  HRESULT SubmitTune(const DvbsTuneParameters& parameters) override;
  HRESULT GetCapabilities(std::vector<CapabilityReport>* reports) override;

 private:
  class InputPin;

  CBasePin* Input() override;
  ComPtr<IBDA_SignalStatistics> MakeSignalStatisticsNode() override;

  std::shared_ptr<SimCard> m_card;
  std::shared_ptr<TunerDriver> m_driver;
  std::unique_ptr<InputPin> m_input;
};

}  // namespace sim
