// Useful bit rate of a carrier: the payload bits per second left after
// forward error correction and framing, which is the rate of the transport
// stream (or generic stream) the demodulator hands on.
//
//  DVB-S:  Rs x 2 bits x code rate x 188/204 (Reed-Solomon).
//  DVB-S2: Rs x (Kbch - 80) / PLFRAME symbols, with Kbch the BCH payload of
//          the code rate and frame length, 80 the baseband header, and the
//          PLFRAME the 90-symbol header plus 90-symbol slots (64800 or 16200
//          bits over the modulation's bits per symbol) plus 36 pilot
//          symbols per 16 slots when pilots are on.
// The roll-off sets the occupied bandwidth, not the rate: it does not enter.
#pragma once

#include <cstdint>

#include "platform/sim/sky/sky.h"

namespace sim {

// Bits per second; 0 for a carrier the standards do not define.
int64_t UsefulBitRate(const Transponder& transponder);

}  // namespace sim
