// The media type of the card's transport stream, offered and accepted by
// every pin that carries it.
#pragma once

#include "recording/framework/media_type.h"

// Position 0: the MPEG-2 transport stream type; past it, no more items.
HRESULT GetTransportStreamMediaType(int position, CMediaType* mt);
// S_OK for a byte stream, S_FALSE for anything else.
HRESULT CheckByteStreamMediaType(const AM_MEDIA_TYPE* mt);
