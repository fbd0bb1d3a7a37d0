#include "platform/media/ts_media_type.h"

HRESULT GetTransportStreamMediaType(int position, CMediaType* mt) {
  if (position < 0) return E_INVALIDARG;
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  mt->Reset();
  mt->majortype = MEDIATYPE_Stream;
  mt->subtype = MEDIASUBTYPE_MPEG2_TRANSPORT;
  mt->lSampleSize = 188;
  return S_OK;
}

HRESULT CheckByteStreamMediaType(const AM_MEDIA_TYPE* mt) {
  if (!mt) return E_POINTER;
  return mt->majortype == MEDIATYPE_Stream ? S_OK : S_FALSE;
}
