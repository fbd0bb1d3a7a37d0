// Where a driver's media information comes from. A demodulator that reads
// the DVB-S2 baseband header reports the MATYPE bytes it received; a driver
// whose demodulator does not hand them on builds them from the physical-layer
// parameters it knows, and the bytes are then derived, not received. The
// tuner's input pin, the object that carries the property set, answers this
// interface; a driver that does not is taken to report what it received.
#pragma once

#include "platform/com/unknown.h"

enum class MatypeOrigin { Received = 0, Derived = 1 };

struct IMediaInfoOrigin : IUnknown {
  // {2D6A9E14-7C3B-4B58-9F02-6E1A8C4D7B35}
  static constexpr GUID IID{0x2D6A9E14, 0x7C3B, 0x4B58, {0x9F, 0x02, 0x6E, 0x1A, 0x8C, 0x4D, 0x7B, 0x35}};
  using Base = IUnknown;
  // Any thread. E_POINTER on null.
  virtual HRESULT GetMatypeOrigin(MatypeOrigin* origin) = 0;
};
