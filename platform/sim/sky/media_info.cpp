#include "platform/sim/sky/media_info.h"

#include <algorithm>

#include "platform/sim/sky/carrier_rules.h"

namespace sim {
namespace {

constexpr uint32_t kDvbsCodeRateUnknown = 8;

int32_t SaturateToInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

uint8_t Matype1(const Transponder& t) {
  if (t.system == DeliverySystem::DvbS) return 0xF0;  // TS, SIS, CCM, roll-off 0.35
  return static_cast<uint8_t>((static_cast<unsigned>(t.streamType) << 6) |
                              (t.IsMultipleInputStream() ? 0 : 0x20) | (t.ccm ? 0x10 : 0) |
                              (t.issy ? 0x08 : 0) | (t.npd ? 0x04 : 0) |
                              static_cast<unsigned>(t.rollOff));
}

int SelectInputStream(const Transponder& t, int requestedId) {
  const std::vector<int>& ids = t.inputStreamIds;
  if (ids.empty()) return 0;
  if (t.IsMultipleInputStream() && std::find(ids.begin(), ids.end(), requestedId) != ids.end()) {
    return requestedId;
  }
  return ids.front();
}

uint8_t Matype2(const Transponder& t, int requestedId) {
  return t.IsMultipleInputStream() ? static_cast<uint8_t>(SelectInputStream(t, requestedId)) : 0;
}

MediaInfoReport DescribeCarrier(const Transponder& t, int64_t ifKHz, int requestedId) {
  const bool s2 = t.system == DeliverySystem::DvbS2;
  const uint8_t matype1 = Matype1(t);
  MediaInfoReport report;
  report.intermediateFrequencyKHz = SaturateToInt32(ifKHz);
  report.symbolRateBd = SaturateToInt32(int64_t{t.symbolRateKs} * 1000);
  report.standard = s2 ? 1 : 0;
  report.modcod = s2 ? Dvbs2Modcod(t.modulation, t.codeRate).value_or(0) : 0;
  report.dvbsCodeRate = s2 ? kDvbsCodeRateUnknown : DvbsCodeRateIndex(t.codeRate).value_or(kDvbsCodeRateUnknown);
  report.modulation = static_cast<uint32_t>(t.modulation);
  report.streamType = matype1 >> 6;
  report.singleInputStream = (matype1 >> 5) & 1;
  report.constantCodingModulation = (matype1 >> 4) & 1;
  report.inputStreamSynchro = (matype1 >> 3) & 1;
  report.nullPacketDeletion = (matype1 >> 2) & 1;
  report.rollOff = matype1 & 0x3;
  report.inputStreamId = SelectInputStream(t, requestedId);
  report.matype1 = matype1;
  report.matype2 = Matype2(t, requestedId);
  report.spectrumInversion = t.spectralInversion ? 1 : 0;
  report.pilots = t.pilots ? 1 : 0;
  report.shortFrame = t.shortFrame ? 1 : 0;
  return report;
}

}  // namespace sim
