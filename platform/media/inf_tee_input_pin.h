// CInfTeeInputPin: the tee's input. Accepts any type; passes each sample,
// end of stream and flush to the tee's connected outputs on the streaming
// thread, and a new allocator to the outputs' downstream pins.
#pragma once

#include "recording/framework/base_input_pin.h"

class CInfTeeFilter;

class CInfTeeInputPin final : public CBaseInputPin {
 public:
  CInfTeeInputPin(CInfTeeFilter* tee, CCritSec* lock);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
  HRESULT NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT Receive(IMediaSample* sample) override;
  HRESULT EndOfStream() override;
  HRESULT BeginFlush() override;
  HRESULT EndFlush() override;

 private:
  CInfTeeFilter* const m_pTee;
};
