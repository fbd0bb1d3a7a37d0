// The platform's own device filters in the device enumerator: the transport
// information filter category always has one device.
#pragma once

namespace media {

inline constexpr wchar_t kTransportInformationFilterName[] = L"BDA MPEG2 Transport Information Filter";

// Registers the media classes and the platform's devices; call once.
void RegisterMediaPlatform();

}  // namespace media
