#include "platform/media/capture_input_pin.h"

CCaptureInputPin::CCaptureInputPin(CBaseFilter* filter, CCritSec* lock) : CBaseInputPin(filter, lock, L"Input") {}

HRESULT CCaptureInputPin::CheckMediaType(const AM_MEDIA_TYPE* mt) { return mt ? S_OK : E_POINTER; }
