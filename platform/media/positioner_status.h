// Where a dish positioner is, for drivers that know. DiSEqC 1.2 motors send
// no answer on the bus, so a real card offers nothing of the kind; the
// simulated card's tuner input pin, the object that carries the DiSEqC
// messages, answers this interface. Callers ask for it with QueryInterface
// on the property-set interface and do without it when it is refused.
#pragma once

#include "platform/com/unknown.h"

struct IPositionerStatus : IUnknown {
  static constexpr GUID IID{0x5E0C7A2B, 0x91D4, 0x4F63, {0xB8, 0x2A, 0x3D, 0x6F, 0x10, 0xC4, 0x7E, 0x95}};
  using Base = IUnknown;
  // The motor's angle from its reference position in degrees, signed as the
  // angular goto command signs it (positive: turned west), and whether it
  // is turning now. Any thread.
  virtual HRESULT GetPosition(double* angleDeg, BOOL* moving) = 0;
};
