// CBasePin: one pin of a CBaseFilter, both sides of a connection (IPin) and
// quality sink registration (IQualityControl). The pin has no reference count
// of its own: AddRef and Release act on the owning filter, so a pin lives
// exactly as long as its filter.
//
// Locking: m_pLock is the filter's lock. It guards the connected pin, the
// connection media type, the connecting flag, the quality sink and the segment.
// A pin never calls its peer while holding the lock: a connection in progress
// is marked by m_bConnecting (taken under the lock), the peer is called
// without it, and the outcome is stored under it again. Connection methods
// are called by the graph on its caller's thread; connections change only
// while the filter is stopped.
#pragma once

#include <atomic>
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/media/media_interfaces.h"
#include "recording/framework/base_filter.h"
#include "recording/framework/critical_section.h"
#include "recording/framework/media_type.h"
#include "recording/framework/unknown_base.h"

class CBasePin : public CUnknown, public IPin, public IQualityControl {
 public:
  CBasePin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name, PIN_DIRECTION direction);
  ~CBasePin() override;

  DECLARE_IUNKNOWN
  // Adds IPin and IQualityControl.
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  // Both act on the owning filter's count.
  ULONG NonDelegatingAddRef() override;
  ULONG NonDelegatingRelease() override;

  virtual LONG GetMediaTypeVersion();
  // Called by the filter (under its lock) on state changes of a connected pin.
  virtual HRESULT Active();
  virtual HRESULT Inactive();
  virtual HRESULT Run(REFERENCE_TIME start);
  // S_OK accepts the type; anything else refuses it.
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) = 0;
  // Stores a deep copy as the connection type.
  virtual HRESULT SetMediaType(const AM_MEDIA_TYPE* mt);
  // VFW_E_INVALID_DIRECTION when the peer has this pin's direction.
  virtual HRESULT CheckConnect(IPin* peer);
  // Undoes CheckConnect/CompleteConnect; called after every failed attempt.
  virtual HRESULT BreakConnect();
  virtual HRESULT CompleteConnect(IPin* peer);
  // The preferred type at position; VFW_S_NO_MORE_ITEMS past the end.
  virtual HRESULT GetMediaType(int position, CMediaType* mt);

  // IPin
  HRESULT Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
  HRESULT ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
  HRESULT Disconnect() override;
  HRESULT ConnectedTo(IPin** pin) override;
  HRESULT ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
  HRESULT QueryPinInfo(PIN_INFO* info) override;
  HRESULT QueryDirection(PIN_DIRECTION* dir) override;
  HRESULT QueryId(LPWSTR* id) override;
  HRESULT QueryAccept(const AM_MEDIA_TYPE* mt) override;
  HRESULT EnumMediaTypes(IEnumMediaTypes** types) override;
  HRESULT QueryInternalConnections(IPin** pins, ULONG* count) override;
  HRESULT EndOfStream() override;
  HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
  // IQualityControl
  HRESULT Notify(IBaseFilter* sender, Quality q) override;
  HRESULT SetSink(IQualityControl* sink) override;

  bool IsConnected();
  // The connected pin with a reference, or null.
  ComPtr<IPin> GetConnected();
  const std::wstring& Name() const { return m_pName; }
  PIN_DIRECTION Direction() const { return m_dir; }
  CBaseFilter* Filter() const { return m_pFilter; }

 protected:
  // Pins whose offered types change call this so type enumerators notice.
  void IncrementTypeVersion() { ++m_TypeVersion; }

  CCritSec* const m_pLock;
  CBaseFilter* const m_pFilter;
  std::atomic<bool> m_bRunTimeError{false};
  bool m_bCanReconnectWhenActive = false;
  bool m_bTryMyTypesFirst = false;
  CMediaType m_mt;  // guarded by m_pLock

 private:
  // Marks a connection in progress after the common refusals.
  HRESULT BeginConnection(bool hasPeer);
  // Stores the outcome of a connection begun with BeginConnection.
  void EndConnection(IPin* connectedTo);
  HRESULT AttemptConnection(IPin* peer, const AM_MEDIA_TYPE* mt);
  HRESULT TryMediaTypes(IPin* peer, const AM_MEDIA_TYPE* partial, IEnumMediaTypes* types);
  HRESULT AgreeMediaType(IPin* peer, const AM_MEDIA_TYPE* mt);
  HRESULT CheckTypeForConnection(const AM_MEDIA_TYPE* mt);

  const std::wstring m_pName;
  const PIN_DIRECTION m_dir;
  ComPtr<IPin> m_Connected;             // guarded by m_pLock
  bool m_bConnecting = false;           // guarded by m_pLock
  IQualityControl* m_pQSink = nullptr;  // guarded by m_pLock, no reference
  std::atomic<LONG> m_TypeVersion{1};
  REFERENCE_TIME m_tStart = 0;                          // guarded by m_pLock
  REFERENCE_TIME m_tStop = INT64_MAX;                   // guarded by m_pLock
  double m_dRate = 1.0;                                 // guarded by m_pLock
};
