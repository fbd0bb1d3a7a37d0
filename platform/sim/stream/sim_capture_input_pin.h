// CSimCaptureInputPin: the capture filter's input ("Input"), where the
// tuner's output connects. Any upstream connection and type is accepted;
// the simulated card makes its stream itself, so nothing arrives here that
// the filter needs.
#pragma once

#include "recording/base_input_pin.h"

class CSimCaptureInputPin final : public CBaseInputPin {
 public:
  CSimCaptureInputPin(CBaseFilter* filter, CCritSec* lock);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
};
