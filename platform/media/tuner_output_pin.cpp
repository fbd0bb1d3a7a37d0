#include "platform/media/tuner_output_pin.h"

#include "platform/media/ts_media_type.h"

CTunerOutputPin::CTunerOutputPin(CBaseFilter* filter, CCritSec* lock)
    : CBasePin(filter, lock, kTunerOutputPinName, PINDIR_OUTPUT) {}

HRESULT CTunerOutputPin::CheckMediaType(const AM_MEDIA_TYPE* mt) {
  return mt && mt->majortype == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTunerOutputPin::GetMediaType(int position, CMediaType* mt) { return GetTransportStreamMediaType(position, mt); }
