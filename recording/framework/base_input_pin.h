// CBaseInputPin: an input pin that takes samples through IMemInputPin.
// The allocator is the one the upstream pin chose (NotifyAllocator) or one
// this pin created on request (GetAllocator); it is held with a reference,
// guarded by the filter's lock, decommitted when the filter stops and
// released when the connection breaks or the pin goes.
//
// Receive and ReceiveMultiple run on the upstream streaming thread; the
// flushing and run-time error flags are atomic so that CheckStreaming can
// read them there without the lock.
#pragma once

#include <atomic>

#include "platform/com/com_ptr.h"
#include "recording/framework/base_pin.h"

class CBaseInputPin : public CBasePin, public IMemInputPin {
 public:
  CBaseInputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name);
  ~CBaseInputPin() override;

  DECLARE_IUNKNOWN
  // Adds IMemInputPin.
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  // Decommits and releases the allocator.
  HRESULT BreakConnect() override;
  // Decommits the allocator; VFW_E_NO_ALLOCATOR when there is none.
  HRESULT Inactive() override;
  // VFW_E_WRONG_STATE when stopped, S_FALSE while flushing,
  // VFW_E_RUNTIME_ERROR after a run-time error, else S_OK.
  virtual HRESULT CheckStreaming();

  // IMemInputPin
  HRESULT GetAllocator(IMemAllocator** allocator) override;
  HRESULT NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
  // Default: accepts the sample when streaming is allowed.
  HRESULT Receive(IMediaSample* sample) override;
  HRESULT ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) override;
  // Default: S_OK, Receive may block.
  HRESULT ReceiveCanBlock() override;

  // IPin, the parts an input pin answers
  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;
  // IQualityControl
  HRESULT Notify(IBaseFilter* sender, Quality q) override;

  // The allocator in use, with a reference, or null.
  ComPtr<IMemAllocator> Allocator();
  bool IsReadOnly();
  bool IsFlushing() const { return m_bFlushing.load(); }

 private:
  ComPtr<IMemAllocator> m_pAllocator;  // guarded by m_pLock
  bool m_bReadOnly = false;            // guarded by m_pLock
  std::atomic<bool> m_bFlushing{false};
};
