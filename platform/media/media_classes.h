// The platform's media graph classes and their registration with the
// component runtime: the graph manager, the memory allocator, the infinite
// pin tee, the MPEG-2 demultiplexer and the transport information filter.
#pragma once

#include "platform/media/media_interfaces.h"

inline constexpr GUID CLSID_TransportInformationFilter{0xFC772AB0, 0x0C7F, 0x11D3, {0x8F, 0xF2, 0x00, 0xA0, 0xC9, 0x22, 0x4C, 0xF4}};

// Registers every class factory above; calling it again changes nothing.
void RegisterMediaClasses();
