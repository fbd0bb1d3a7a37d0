// CTunerOutputPin: a card tuner filter's output ("MPEG2 Transport"), which
// the capture filter's input connects to. The connection names what passes
// between the two (a transport stream) but carries no samples in user space:
// the card moves the data itself, so the pin needs no allocator.
#pragma once

#include "recording/framework/base_pin.h"

inline constexpr wchar_t kTunerOutputPinName[] = L"MPEG2 Transport";

class CTunerOutputPin final : public CBasePin {
 public:
  CTunerOutputPin(CBaseFilter* filter, CCritSec* lock);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
  HRESULT GetMediaType(int position, CMediaType* mt) override;
  HRESULT Inactive() override { return S_OK; }
  HRESULT BeginFlush() override { return S_OK; }
  HRESULT EndFlush() override { return S_OK; }
};
