#include "platform/linuxdvb/media_info_derivation.h"

#include <linux/dvb/frontend.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <optional>

#include "platform/media/dvb_modcods.h"

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

std::optional<dvb::CodeRate> RateOf(std::uint32_t fec) {
  switch (fec) {
    case FEC_2_5: return dvb::CodeRate{2, 5};
    case FEC_1_2: return dvb::CodeRate{1, 2};
    case FEC_3_5: return dvb::CodeRate{3, 5};
    case FEC_2_3: return dvb::CodeRate{2, 3};
    case FEC_3_4: return dvb::CodeRate{3, 4};
    case FEC_4_5: return dvb::CodeRate{4, 5};
    case FEC_5_6: return dvb::CodeRate{5, 6};
    case FEC_6_7: return dvb::CodeRate{6, 7};
    case FEC_7_8: return dvb::CodeRate{7, 8};
    case FEC_8_9: return dvb::CodeRate{8, 9};
    case FEC_9_10: return dvb::CodeRate{9, 10};
    default: return std::nullopt;
  }
}

std::uint32_t Modcod(std::uint32_t modulationIndex, std::uint32_t fec) {
  const auto rate = RateOf(fec);
  if (!rate || modulationIndex >= kUnknownModulation) return kUnknownModcod;
  return dvb::Dvbs2Modcod(static_cast<dvb::Constellation>(modulationIndex), *rate).value_or(kUnknownModcod);
}

std::uint32_t DvbsCodeRate(std::uint32_t fec) {
  const auto rate = RateOf(fec);
  return rate ? dvb::DvbsRateIndex(*rate).value_or(kUnknownDvbsCodeRate) : kUnknownDvbsCodeRate;
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
  driver::MediaInfoReport r;
  r.intermediateFrequencyKHz = static_cast<std::int32_t>(std::min<std::uint32_t>(tuned.frequencyKHz, INT32_MAX));
  r.symbolRateBd = static_cast<std::int32_t>(std::min<std::uint32_t>(tuned.symbolRate, INT32_MAX));
  r.standard = s2 ? 1 : 0;
  r.modulation = s2 ? ModulationIndex(tuned.modulation) : 0;  // DVB-S is QPSK
  r.modcod = s2 ? Modcod(r.modulation, tuned.innerFec) : 0;
  r.dvbsCodeRate = s2 ? kUnknownDvbsCodeRate : DvbsCodeRate(tuned.innerFec);
  r.streamType = kTransportStream;
  // The kernel hands back whatever stream id was written: it says nothing
  // about the carrier's input streams.
  r.singleInputStream = 1;
  r.constantCodingModulation = 1;
  r.inputStreamSynchro = 0;
  r.nullPacketDeletion = 0;
  r.rollOff = s2 ? RollOffIndex(tuned.rollOff) : 0;
  r.inputStreamId = 0;
  r.matype1 = r.streamType << 6 | r.singleInputStream << 5 | r.constantCodingModulation << 4 |
              r.inputStreamSynchro << 3 | r.nullPacketDeletion << 2 | r.rollOff;
  r.matype2 = 0;
  r.spectrumInversion = tuned.inversion == INVERSION_ON ? 1 : 0;
  r.pilots = s2 && tuned.pilot == PILOT_ON ? 1 : 0;
  r.shortFrame = 0;
  return r;
}

std::optional<double> RequiredEsN0Db(const TunedParameters& tuned) {
  if (tuned.deliverySystem == SYS_DVBS2) {
    const std::uint32_t modcod = Modcod(ModulationIndex(tuned.modulation), tuned.innerFec);
    return modcod == kUnknownModcod ? std::nullopt : dvb::RequiredEsN0ForModcod(modcod);
  }
  const std::uint32_t index = DvbsCodeRate(tuned.innerFec);
  return index == kUnknownDvbsCodeRate ? std::nullopt : dvb::RequiredEsN0ForDvbsRate(index);
}

}  // namespace linuxdvb
