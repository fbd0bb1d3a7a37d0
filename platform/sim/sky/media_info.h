#pragma once
// What the simulated demodulator reports about a locked carrier, in the
// 72-byte media-information record every card backend hands the application
// (platform/media/driver_records.h).

#include <cstddef>
#include <cstdint>

#include "platform/media/driver_records.h"
#include "platform/sim/sky/sky.h"

namespace sim {

using driver::kMediaInfoRecordSize;
using driver::MediaInfoReport;
using driver::EncodeMediaInfo;
using driver::DecodeMediaInfo;

// MATYPE-1: TS/GS (bits 7-6), SIS (bit 5), CCM (bit 4), ISSYI (bit 3), NPD
// (bit 2), roll-off (bits 1-0). A DVB-S carrier has no baseband header; it
// reports what a DVB-S2 single transport stream with roll-off 0.35 would.
uint8_t Matype1(const Transponder& transponder);

// The input stream delivered: for a multiple-input-stream carrier the one
// requested when the carrier has it, else its first; for a single stream
// its one listed id, or 0.
int SelectInputStream(const Transponder& transponder, int requestedId);

// MATYPE-2: the delivered input stream id on a multiple-input-stream
// carrier, else 0.
uint8_t Matype2(const Transponder& transponder, int requestedId);

MediaInfoReport DescribeCarrier(const Transponder& transponder, int64_t ifKHz, int requestedId);


}  // namespace sim
