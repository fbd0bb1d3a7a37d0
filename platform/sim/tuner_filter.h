// The simulated card's tuner filter: an input pin "Input0" that the network
// provider connects to, and an output pin that feeds the capture filter.
// Like a real tuner's, the connection to the capture filter carries no
// samples in user space: the card moves the data itself.
//
// Lifetime: a COM object made when the tuner device is bound; its pins live
// and die with it. m_lock guards the framework state of filter and pins.
#pragma once

#include <memory>

#include "recording/base_filter.h"
#include "recording/base_input_pin.h"

namespace sim {

class SimCard;

// {3C9D2F41-8B7A-4E1D-9A55-6B2E7C0D4F11}
inline constexpr GUID CLSID_SimTunerFilter{0x3C9D2F41, 0x8B7A, 0x4E1D, {0x9A, 0x55, 0x6B, 0x2E, 0x7C, 0x0D, 0x4F, 0x11}};

inline constexpr wchar_t kTunerInputPinName[] = L"Input0";
inline constexpr wchar_t kTunerOutputPinName[] = L"MPEG2 Transport";

class TunerFilter final : public CBaseFilter {
 public:
  explicit TunerFilter(std::shared_ptr<SimCard> card);
  ~TunerFilter() override;

  int GetPinCount() override { return 2; }
  CBasePin* GetPin(int n) override;

 private:
  class InputPin;
  class OutputPin;

  CCritSec m_lock;
  std::shared_ptr<SimCard> m_card;
  std::unique_ptr<InputPin> m_input;
  std::unique_ptr<OutputPin> m_output;
};

}  // namespace sim
