// CCaptureInputPin: a card capture filter's input ("Input"), where the
// tuner's output connects. Any upstream connection and type is accepted; a
// card makes its stream itself, so nothing arrives here that the filter
// needs.
#pragma once

#include "recording/framework/base_input_pin.h"

class CCaptureInputPin final : public CBaseInputPin {
 public:
  CCaptureInputPin(CBaseFilter* filter, CCritSec* lock);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
};
