#include "platform/sim/stream/sim_capture_input_pin.h"

CSimCaptureInputPin::CSimCaptureInputPin(CBaseFilter* filter, CCritSec* lock) : CBaseInputPin(filter, lock, L"Input") {}

HRESULT CSimCaptureInputPin::CheckMediaType(const AM_MEDIA_TYPE* mt) { return mt ? S_OK : E_POINTER; }
