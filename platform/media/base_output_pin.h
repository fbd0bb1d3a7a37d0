// CBaseOutputPin: the output side of a connection for the platform's own
// filters, on the recording framework's CBasePin. At connection it agrees an
// allocator with the downstream IMemInputPin (the downstream's own, else one
// made here), commits it when the filter pauses and decommits it when it
// stops; Deliver hands a sample to the downstream pin.
//
// Locking: the filter's lock guards m_pAllocator and m_pInputPin, which
// change only while the filter is stopped. The streaming thread reads their
// raw copies (m_deliverTo, m_deliverFrom) without the lock and never holds
// it while calling the downstream pin.
#pragma once

#include <atomic>

#include "platform/com/com_ptr.h"
#include "recording/framework/base_pin.h"

class CBaseOutputPin : public CBasePin {
 public:
  CBaseOutputPin(CBaseFilter* filter, CCritSec* lock, const wchar_t* name);
  ~CBaseOutputPin() override;

  // The peer must offer IMemInputPin.
  HRESULT CheckConnect(IPin* peer) override;
  HRESULT CompleteConnect(IPin* peer) override;
  HRESULT BreakConnect() override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Chooses the allocator and tells the downstream pin.
  virtual HRESULT DecideAllocator(IMemInputPin* input, ComPtr<IMemAllocator>* allocator);
  // Sets the buffer count and size on the chosen allocator.
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;

  // Streaming thread: an empty sample (blocks while all are in use).
  HRESULT GetDeliveryBuffer(IMediaSample** sample);
  // Streaming thread: the downstream pin's Receive result.
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  // The allocator GetDeliveryBuffer draws from, without a reference; a
  // source decommits it to wake a streaming thread blocked in GetBuffer.
  IMemAllocator* DeliveryAllocator() const { return m_deliverFrom.load(); }

  // An output pin takes no stream control from downstream.
  HRESULT EndOfStream() override;
  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;

 protected:
  // Stores the agreed allocator (null to drop it) under the lock.
  void SetAllocator(ComPtr<IMemAllocator> allocator);
  // The downstream pin's sample interface while connected, with a reference.
  ComPtr<IMemInputPin> InputPin();

 private:
  ComPtr<IMemAllocator> m_pAllocator;  // guarded by m_pLock
  ComPtr<IMemInputPin> m_pInputPin;    // guarded by m_pLock
  std::atomic<IMemInputPin*> m_deliverTo{nullptr};
  std::atomic<IMemAllocator*> m_deliverFrom{nullptr};
};
