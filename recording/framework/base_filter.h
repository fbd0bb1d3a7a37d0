// CBaseFilter: the filter side of the graph contract (IBaseFilter with
// IMediaFilter and IPersist, and IAMovieSetup). A concrete filter supplies its
// pins through GetPinCount/GetPin and owns them: pins have no count of their
// own and die with the filter.
//
// Locking: m_pLock is the concrete filter's lock, shared with its pins; it
// guards the state change methods, the clock, the name, the graph and pin
// lookups. The state itself is atomic so a streaming thread may read it
// without the lock. The graph and its event sink are held without a
// reference (the graph holds the filter).
#pragma once

#include <atomic>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/media/media_interfaces.h"
#include "recording/framework/critical_section.h"
#include "recording/framework/unknown_base.h"

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter, public IAMovieSetup {
 public:
  CBaseFilter(IUnknown* outer, CCritSec* lock, REFCLSID clsid);
  ~CBaseFilter() override;

  DECLARE_IUNKNOWN
  // Adds IBaseFilter, IMediaFilter, IPersist (one face) and IAMovieSetup.
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // The clock's time minus the start time; VFW_E_NO_CLOCK without a clock.
  virtual HRESULT StreamTime(REFERENCE_TIME* time);
  virtual LONG GetPinVersion();
  virtual int GetPinCount() = 0;
  // The pin at n without a reference, or null.
  virtual CBasePin* GetPin(int n) = 0;
  // Registration data; none by default, so Register/Unregister give S_FALSE.
  virtual const void* GetSetupData();

  // IPersist
  HRESULT GetClassID(CLSID* clsid) override;
  // IMediaFilter
  HRESULT Stop() override;
  HRESULT Pause() override;
  HRESULT Run(REFERENCE_TIME start) override;
  HRESULT GetState(DWORD timeoutMs, FILTER_STATE* state) override;
  HRESULT SetSyncSource(IReferenceClock* clock) override;
  HRESULT GetSyncSource(IReferenceClock** clock) override;
  // IBaseFilter
  HRESULT EnumPins(IEnumPins** pins) override;
  HRESULT FindPin(LPCWSTR id, IPin** pin) override;
  HRESULT QueryFilterInfo(FILTER_INFO* info) override;
  HRESULT JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  HRESULT QueryVendorInfo(LPWSTR* vendorInfo) override;
  // IAMovieSetup
  HRESULT Register() override;
  HRESULT Unregister() override;

  FILTER_STATE State() const { return m_State.load(); }
  bool IsStopped() const { return State() == State_Stopped; }
  CCritSec* Lock() const { return m_pLock; }
  IFilterGraph* Graph();

 protected:
  // Concrete filters call this when their set of pins changes, so that pin
  // enumerators notice.
  void IncrementPinVersion() { ++m_PinVersion; }

  CCritSec* const m_pLock;

 private:
  std::atomic<FILTER_STATE> m_State{State_Stopped};
  ComPtr<IReferenceClock> m_pClock;  // guarded by m_pLock
  REFERENCE_TIME m_tStart = 0;       // guarded by m_pLock
  const CLSID m_clsid;
  std::wstring m_Name;               // guarded by m_pLock
  bool m_bHasName = false;           // guarded by m_pLock
  IFilterGraph* m_pGraph = nullptr;  // guarded by m_pLock, no reference
  IMediaEventSink* m_pSink = nullptr;  // guarded by m_pLock, no reference
  std::atomic<LONG> m_PinVersion{1};
};
