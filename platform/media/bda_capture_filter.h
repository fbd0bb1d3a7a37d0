// CBdaCaptureFilter: what every card backend's capture filter has in common:
// its input ("Input", CCaptureInputPin) takes the tuner's output; its output
// ("Output", CTsCaptureOutputPin) delivers the card's transport stream while
// the filter runs. The backend's reader drains the device into Delivery()
// (capture_delivery.h: a ring and a streaming thread of its own, so a
// stalled disk never holds up the reader).
//
// Run starts the delivery and then the backend's reader once the filter runs
// with its output connected, and answers with the start's status. Stop (and
// Pause from running) ends the reader, then lets the delivery hand on what
// the ring holds, outside the filter lock (the thread may be delivering, or
// need the lock for end of stream), so no sample is in flight when they
// return.
//
// Answers ICaptureSourceStatus: the backend's device counters with the
// ring's.
//
// Lifetime: the backend's members (its streaming source) go before the pins
// and the lock, so delivery has ended before the pins go.
#pragma once

#include "platform/media/capture_delivery.h"
#include "platform/media/capture_input_pin.h"
#include "platform/media/capture_source_status.h"
#include "platform/media/ts_capture_output_pin.h"
#include "recording/framework/base_filter.h"

class CBdaCaptureFilter : public CBaseFilter, public ICaptureSourceStatus {
 public:
  ~CBdaCaptureFilter() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  HRESULT GetCaptureStatus(CaptureSourceStatus* status) final;
  // The ring's size for the next run; 0: the reader delivers itself.
  void SetRingBytes(std::size_t bytes, std::size_t alignPackets = 1) { m_delivery.SetRingBytes(bytes, alignPackets); }

  int GetPinCount() final { return 2; }
  CBasePin* GetPin(int n) final;
  HRESULT Run(REFERENCE_TIME start) final;
  HRESULT Pause() final;
  HRESULT Stop() final;

 protected:
  CBdaCaptureFilter(REFCLSID clsid, int packetsPerSample, int sampleBuffers);

  // Where the backend's reader hands its stream.
  CaptureDelivery& Delivery() { return m_delivery; }
  CTsCaptureOutputPin* Output() { return &m_output; }
  // On the graph's thread. StartReading may fail (with the reason as the
  // thread's error description); StopReading returns when the reader has
  // ended (after Delivery().WakeReader() broke its waits), and does nothing
  // when it is not running.
  virtual HRESULT StartReading() = 0;
  virtual void StopReading() = 0;
  // The device's counters and fault.
  virtual CaptureSourceStatus SourceStatus() = 0;

 private:
  void StopDelivery();

  CCritSec m_lock;
  CCaptureInputPin m_input;
  CTsCaptureOutputPin m_output;
  CaptureDelivery m_delivery{&m_output};  // goes before the pins
};
