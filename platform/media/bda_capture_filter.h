// CBdaCaptureFilter: what every card backend's capture filter has in common:
// its input ("Input", CCaptureInputPin) takes the tuner's output; its output
// ("Output", CTsCaptureOutputPin) delivers the card's transport stream from
// the backend's streaming thread while the filter runs.
//
// Run starts the backend's delivery once the filter runs with its output
// connected, and answers with the start's status. Stop (and Pause from
// running) stops delivery first, outside the filter lock (the thread may be
// delivering, or need the lock for end of stream), so no sample is in flight
// when they return.
//
// Lifetime: the backend's members (its streaming source) go before the pins
// and the lock, so delivery has ended before the pins go.
#pragma once

#include "platform/media/capture_input_pin.h"
#include "platform/media/ts_capture_output_pin.h"
#include "recording/base_filter.h"

class CBdaCaptureFilter : public CBaseFilter {
 public:
  ~CBdaCaptureFilter() override;

  int GetPinCount() final { return 2; }
  CBasePin* GetPin(int n) final;
  HRESULT Run(REFERENCE_TIME start) final;
  HRESULT Pause() final;
  HRESULT Stop() final;

 protected:
  CBdaCaptureFilter(REFCLSID clsid, int packetsPerSample, int sampleBuffers);

  // Where the backend's thread delivers.
  CTsCaptureOutputPin* Output() { return &m_output; }
  // On the graph's thread. StopDelivery returns when the thread has ended,
  // and does nothing when it is not running.
  virtual HRESULT StartDelivery() = 0;
  virtual void StopDelivery() = 0;

 private:
  CCritSec m_lock;
  CCaptureInputPin m_input;
  CTsCaptureOutputPin m_output;
};
