// CBdaTunerFilter: what every card backend's tuner filter has in common, as
// the receive graph sees a card's tuner: an input pin (pin 0) that the
// network provider connects to, and an output pin (pin 1, CTunerOutputPin)
// that feeds the capture filter.
//
// The filter answers IBDA_Topology, whose one control node (input pin 0,
// output pin 1, node type 0) answers IBDA_SignalStatistics, and
// IBDA_DvbsTuning for the network provider's tunes. A backend supplies its
// class id, its input pin (with the driver faces it carries), a new
// statistics node on each GetControlNode, SubmitTune and its capability
// report.
//
// Lifetime: a framework object; the backend's pin and members go before the
// output pin and the lock. The lock guards the framework state of filter and
// pins; the backend's input pin shares it through Lock().
#pragma once

#include "platform/media/bda_interfaces.h"
#include "platform/media/tuner_output_pin.h"
#include "recording/framework/base_filter.h"

class CBdaTunerFilter : public CBaseFilter, public IBDA_Topology, public IBDA_DvbsTuning, public ICardCapabilities {
 public:
  ~CBdaTunerFilter() override;

  DECLARE_IUNKNOWN
  // Adds IBDA_Topology, IBDA_DvbsTuning and ICardCapabilities (the backend's).
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  int GetPinCount() final { return 2; }
  CBasePin* GetPin(int n) final;

  // IBDA_Topology: the one control node is (0, 1, 0); E_INVALIDARG otherwise.
  HRESULT GetControlNode(ULONG inputPinId, ULONG outputPinId, ULONG nodeType, IUnknown** controlNode) final;

 protected:
  explicit CBdaTunerFilter(REFCLSID clsid);

  // The backend's input pin; it lives as long as the filter.
  virtual CBasePin* Input() = 0;
  // A new demodulator node answering IBDA_SignalStatistics.
  virtual ComPtr<IBDA_SignalStatistics> MakeSignalStatisticsNode() = 0;

 private:
  CCritSec m_lock;
  CTunerOutputPin m_output;
};
