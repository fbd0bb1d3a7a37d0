// Binding the simulated card's devices to their filters.
#pragma once

#include <memory>

#include "platform/com/unknown.h"

namespace sim {

class SimCard;

// Makes the card's tuner (or capture) filter and answers riid. A card that
// was unplugged (or is gone) cannot be bound.
HRESULT BindTunerFilter(std::shared_ptr<SimCard> card, REFIID riid, void** ppv);
HRESULT BindCaptureFilter(std::shared_ptr<SimCard> card, REFIID riid, void** ppv);

}  // namespace sim
