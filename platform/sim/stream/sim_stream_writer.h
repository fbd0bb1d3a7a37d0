// Writes the stream the simulated capture filter would deliver for a
// configuration straight to a file, in the same samples, so that a recording
// made through the graph can be compared with it byte for byte. The
// configuration must set a packet limit.
#pragma once

#include <string>

#include "platform/sim/stream/sim_stream_config.h"

// 0, or the errno of the failure (EINVAL without a packet limit).
int WriteSimulatedStream(const SimCaptureConfig& config, const std::string& path);
