// The simulated card's tuner filter: an input pin "Input0" that the network
// provider connects to, and an output pin that feeds the capture filter.
// Like a real tuner's, the connection to the capture filter carries no
// samples in user space: the card moves the data itself.
//
// Driver faces, each forwarding to the card's one TunerDriver:
//  - the input pin answers IKsPropertySet (the tuner extension property set)
//    and IPositionerStatus (the dish motor's angle, which a real card cannot
//    report) and IMediaInfoOrigin (the MATYPE bytes are the carrier's own);
//  - the filter answers IBDA_Topology, whose control node (input pin 0,
//    output pin 1, node type 0) answers IBDA_SignalStatistics;
//  - the filter answers IBDA_DvbsTuning for the network provider's tunes.
// They may be called on any thread; the driver does its own locking.
//
// Lifetime: a COM object made when the tuner device is bound; its pins live
// and die with it. It shares the driver with the card and the card's other
// filters. m_lock guards the framework state of filter and pins.
#pragma once

#include <memory>

#include "platform/media/bda_interfaces.h"
#include "platform/media/tuner_output_pin.h"
#include "platform/media/positioner_status.h"
#include "recording/base_filter.h"
#include "recording/base_input_pin.h"

namespace sim {

class SimCard;
class TunerDriver;

// {3C9D2F41-8B7A-4E1D-9A55-6B2E7C0D4F11}
inline constexpr GUID CLSID_SimTunerFilter{0x3C9D2F41, 0x8B7A, 0x4E1D, {0x9A, 0x55, 0x6B, 0x2E, 0x7C, 0x0D, 0x4F, 0x11}};

inline constexpr wchar_t kTunerInputPinName[] = L"Input0";
// The input pin's name on a card whose pin is not the expected one.
inline constexpr wchar_t kTunerFaultyInputPinName[] = L"Antenna In";

class TunerFilter final : public CBaseFilter, public IBDA_Topology, public IBDA_DvbsTuning {
 public:
  explicit TunerFilter(std::shared_ptr<SimCard> card);
  ~TunerFilter() override;

  DECLARE_IUNKNOWN
  // Adds IBDA_Topology and IBDA_DvbsTuning.
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;

  // IBDA_Topology: the one control node is (0, 1, 0); E_INVALIDARG otherwise.
  HRESULT GetControlNode(ULONG inputPinId, ULONG outputPinId, ULONG nodeType, IUnknown** controlNode) override;
  // IBDA_DvbsTuning
  HRESULT SubmitTune(const DvbsTuneParameters& parameters) override;

 private:
  class InputPin;

  CCritSec m_lock;
  std::shared_ptr<SimCard> m_card;
  std::shared_ptr<TunerDriver> m_driver;
  std::unique_ptr<InputPin> m_input;
  std::unique_ptr<CTunerOutputPin> m_output;
};

}  // namespace sim
