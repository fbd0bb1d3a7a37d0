// What the simulated card's generated programme shows for the carrier it
// delivers: its test card names the satellite, the carrier (frequency,
// polarisation, symbol rate) and the input stream, and the colour bars of
// each input stream of a multiple-input-stream carrier start with a colour
// chosen by its id. Pure; any thread.
#pragma once

#include "platform/sim/driver/stream_description.h"
#include "platform/sim/sky/sky.h"
#include "platform/sim/stream/sim_stream_config.h"

namespace sim {

// For a locked description; an unlocked one gives the default programme.
SimStreamContent ProgrammeFor(const Sky& sky, const StreamDescription& stream);

}  // namespace sim
