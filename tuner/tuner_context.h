// The one process-wide set of references to the receive graph and the
// driver. Filled and emptied on the UI thread (start-up, graph construction
// and teardown); read by the UI and monitor threads. m_hDriverMutex guards
// every statistics read, tune submission, motor write and the release of
// m_pKsCtrl; it lives for the whole process.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/com/com_ptr.h"
#include "platform/media/bda_interfaces.h"
#include "platform/media/media_interfaces.h"

class CDestFilter;

struct TunerContext {
  ComPtr<IGraphBuilder> m_pGraph;
  ComPtr<IMediaControl> m_pMediaControl;
  ComPtr<IBaseFilter> m_pNetworkProvider;
  ComPtr<IBaseFilter> m_pTunerFilter;
  ComPtr<IBaseFilter> m_pCaptureFilter;
  ComPtr<IBaseFilter> m_pDemux;
  ComPtr<IBaseFilter> m_pTee;
  ComPtr<IBaseFilter> m_pTIF;
  // The stream sink; the context holds one reference, taken at construction.
  CDestFilter* m_pDestFilter = nullptr;
  ComPtr<IKsPropertySet> m_pKsCtrl;
  std::mutex m_hDriverMutex;
};

TunerContext& TheTunerContext();

// 1 while the monitor's last cycle saw the signal locked, else 0. Written by
// the monitor thread only; read without a lock.
std::atomic<std::int32_t>& SignalLockedFlag();
