// CInfTeeFilter: the infinite pin tee. One input ("Input"); outputs
// "Output1", "Output2", ... of which one is always free: when the last free
// output connects, a new one appears. Every sample that arrives goes to
// every connected output, the same sample object (no copy), in pin order.
// Outputs are never removed before the filter goes, so pin pointers stay
// valid for the filter's life.
//
// Locking: m_lock (the filter and pin lock) guards m_outputs. m_delivery,
// the connected outputs, is rebuilt when the filter leaves the stopped state
// and read by the streaming thread without the lock: connections change
// only while stopped.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "recording/framework/base_filter.h"

class CInfTeeInputPin;
class CPassThroughOutputPin;
struct IMediaSample;

class CInfTeeFilter final : public CBaseFilter {
 public:
  CInfTeeFilter();
  ~CInfTeeFilter() override;

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;
  HRESULT Pause() override;

  // Streaming thread: hands the sample to every connected output. Failures
  // of one branch do not starve the others.
  void DeliverToOutputs(IMediaSample* sample);
  void DeliverEndOfStream();
  void DeliverBeginFlush();
  void DeliverEndFlush();
  // The input's allocator changed: every output tells its downstream.
  void UpstreamAllocatorChanged();

 private:
  void OnOutputConnected();
  void AddOutputLocked();

  CCritSec m_lock;
  std::unique_ptr<CInfTeeInputPin> m_input;
  std::deque<std::unique_ptr<CPassThroughOutputPin>> m_outputs;  // guarded by m_lock
  std::vector<CPassThroughOutputPin*> m_delivery;                // see the class comment
};
