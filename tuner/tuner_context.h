// The one process-wide set of references to the receive graph and the
// driver. m_hDriverMutex guards every statistics read, tune submission,
// motor write and the release of m_pKsCtrl; it lives for the whole process.
//
// The threading rule:
// - m_pKsCtrl and m_pTunerFilter are the members another thread (the signal
//   monitor) uses. They are written only on the UI thread, and only while
//   that thread holds m_hDriverMutex (SetKsCtrl, SetTunerFilter). The UI
//   thread may read them without the mutex, since no other thread writes
//   them. Any other thread reads them only under m_hDriverMutex: inside a
//   statistics read it holds already, or through SharedKsCtrl(), which hands
//   out a counted copy so that a call through it stays valid after the lock
//   is released.
// - Every other member is read and written on the UI thread only.
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

  // UI thread; each takes m_hDriverMutex, so the caller must not hold it.
  void SetKsCtrl(ComPtr<IKsPropertySet> ksCtrl);
  void SetTunerFilter(ComPtr<IBaseFilter> tunerFilter);
  // Any thread not holding m_hDriverMutex: a counted copy of m_pKsCtrl.
  ComPtr<IKsPropertySet> SharedKsCtrl();
};

TunerContext& TheTunerContext();

// 1 while the monitor's last cycle saw the signal locked, else 0. Written by
// the monitor thread only; read without a lock.
std::atomic<std::int32_t>& SignalLockedFlag();
