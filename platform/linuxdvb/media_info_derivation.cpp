#include "platform/linuxdvb/media_info_derivation.h"

#include <linux/dvb/frontend.h>

#include <algorithm>
#include <climits>
#include <iterator>

namespace linuxdvb {
namespace {

constexpr std::uint32_t kUnknownModulation = 4;
constexpr std::uint32_t kUnknownModcod = 29;
constexpr std::uint32_t kUnknownDvbsCodeRate = 8;
constexpr std::uint32_t kReservedRollOff = 3;
constexpr std::uint32_t kTransportStream = 3;

std::uint32_t ModulationIndex(std::uint32_t modulation) {
  switch (modulation) {
    case QPSK: return 0;
    case PSK_8: return 1;
    case APSK_16: return 2;
    case APSK_32: return 3;
    default: return kUnknownModulation;
  }
}

// DVB-S2 MODCODs (EN 302 307, table 12) by modulation index and code rate.
// QPSK 1/4 and 1/3 (MODCODs 1 and 2) have no code rate in this kernel API.
struct ModcodEntry {
  std::uint32_t modulation;
  std::uint32_t fec;
  std::uint32_t modcod;
};
constexpr ModcodEntry kModcods[] = {
    {0, FEC_2_5, 3},   {0, FEC_1_2, 4},   {0, FEC_3_5, 5},   {0, FEC_2_3, 6},   {0, FEC_3_4, 7},
    {0, FEC_4_5, 8},   {0, FEC_5_6, 9},   {0, FEC_8_9, 10},
    {0, FEC_9_10, 11}, {1, FEC_3_5, 12},  {1, FEC_2_3, 13},  {1, FEC_3_4, 14},  {1, FEC_5_6, 15},
    {1, FEC_8_9, 16},  {1, FEC_9_10, 17}, {2, FEC_2_3, 18},  {2, FEC_3_4, 19},  {2, FEC_4_5, 20},
    {2, FEC_5_6, 21},  {2, FEC_8_9, 22},  {2, FEC_9_10, 23}, {3, FEC_3_4, 24},  {3, FEC_4_5, 25},
    {3, FEC_5_6, 26},  {3, FEC_8_9, 27},  {3, FEC_9_10, 28},
};

std::uint32_t Modcod(std::uint32_t modulationIndex, std::uint32_t fec) {
  const auto found = std::find_if(std::begin(kModcods), std::end(kModcods), [&](const ModcodEntry& e) {
    return e.modulation == modulationIndex && e.fec == fec;
  });
  return found == std::end(kModcods) ? kUnknownModcod : found->modcod;
}

std::uint32_t DvbsCodeRate(std::uint32_t fec) {
  switch (fec) {
    case FEC_1_2: return 0;
    case FEC_2_3: return 1;
    case FEC_3_4: return 2;
    case FEC_4_5: return 3;
    case FEC_5_6: return 4;
    case FEC_6_7: return 5;
    case FEC_7_8: return 6;
    case FEC_8_9: return 7;
    default: return kUnknownDvbsCodeRate;
  }
}

std::uint32_t RollOffIndex(std::uint32_t rollOff) {
  switch (rollOff) {
    case ROLLOFF_35: return 0;
    case ROLLOFF_25: return 1;
    case ROLLOFF_20: return 2;
    default: return kReservedRollOff;
  }
}

}  // namespace

driver::MediaInfoReport DeriveMediaInfo(const TunedParameters& tuned) {
  const bool s2 = tuned.deliverySystem == SYS_DVBS2;
  const bool multiple = s2 && tuned.streamId != NO_STREAM_ID_FILTER;
  driver::MediaInfoReport r;
  r.intermediateFrequencyKHz = static_cast<std::int32_t>(std::min<std::uint32_t>(tuned.frequencyKHz, INT32_MAX));
  r.symbolRateBd = static_cast<std::int32_t>(std::min<std::uint32_t>(tuned.symbolRate, INT32_MAX));
  r.standard = s2 ? 1 : 0;
  r.modulation = s2 ? ModulationIndex(tuned.modulation) : 0;  // DVB-S is QPSK
  r.modcod = s2 ? Modcod(r.modulation, tuned.innerFec) : 0;
  r.dvbsCodeRate = s2 ? kUnknownDvbsCodeRate : DvbsCodeRate(tuned.innerFec);
  r.streamType = kTransportStream;
  r.singleInputStream = multiple ? 0 : 1;
  r.constantCodingModulation = 1;
  r.inputStreamSynchro = 0;
  r.nullPacketDeletion = 0;
  r.rollOff = s2 ? RollOffIndex(tuned.rollOff) : 0;
  r.inputStreamId = multiple ? static_cast<std::int32_t>(tuned.streamId & 0xFF) : 0;
  r.matype1 = r.streamType << 6 | r.singleInputStream << 5 | r.constantCodingModulation << 4 |
              r.inputStreamSynchro << 3 | r.nullPacketDeletion << 2 | r.rollOff;
  r.matype2 = multiple ? tuned.streamId & 0xFF : 0;
  r.spectrumInversion = tuned.inversion == INVERSION_ON ? 1 : 0;
  r.pilots = s2 && tuned.pilot == PILOT_ON ? 1 : 0;
  r.shortFrame = 0;
  return r;
}

}  // namespace linuxdvb
