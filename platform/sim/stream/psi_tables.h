// The PSI/SI sections of the generated stream, each complete with its
// CRC-32: the program association table, the program map table of the one
// program, and the service description table (actual transport stream).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/sim/stream/sim_stream_config.h"

std::vector<std::uint8_t> BuildPat(const SimStreamContent& content, std::uint8_t version);
std::vector<std::uint8_t> BuildPmt(const SimStreamContent& content, std::uint8_t version);
std::vector<std::uint8_t> BuildSdt(const SimStreamContent& content, std::uint8_t version);
