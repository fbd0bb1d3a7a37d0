#pragma once
// What the simulated demodulator reports about a locked carrier, and the
// 72-byte record it hands the application: eighteen little-endian 32-bit
// fields in the order of MediaInfoReport.

#include <cstddef>
#include <cstdint>

#include "platform/sim/sky/sky.h"

namespace sim {

inline constexpr size_t kMediaInfoRecordSize = 72;

struct MediaInfoReport {
  int32_t intermediateFrequencyKHz = 0;
  int32_t symbolRateBd = 0;
  uint32_t standard = 0;                  // 0 DVB-S, 1 DVB-S2
  uint32_t modcod = 0;                    // DVB-S2 MODCOD 1..28; 0 for DVB-S
  uint32_t dvbsCodeRate = 0;              // 0..7; 8 (unknown) for DVB-S2
  uint32_t modulation = 0;                // 0 QPSK, 1 8PSK, 2 16APSK, 3 32APSK
  uint32_t streamType = 0;                // MATYPE-1 bits 7-6
  uint32_t singleInputStream = 0;         // MATYPE-1 bit 5
  uint32_t constantCodingModulation = 0;  // MATYPE-1 bit 4
  uint32_t inputStreamSynchro = 0;        // MATYPE-1 bit 3
  uint32_t nullPacketDeletion = 0;        // MATYPE-1 bit 2
  uint32_t rollOff = 0;                   // MATYPE-1 bits 1-0
  int32_t inputStreamId = 0;
  uint32_t matype1 = 0;
  uint32_t matype2 = 0;
  uint32_t spectrumInversion = 0;
  uint32_t pilots = 0;
  uint32_t shortFrame = 0;
};

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

void EncodeMediaInfo(const MediaInfoReport& report, uint8_t out[kMediaInfoRecordSize]);
MediaInfoReport DecodeMediaInfo(const uint8_t in[kMediaInfoRecordSize]);

}  // namespace sim
