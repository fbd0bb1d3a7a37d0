#include "platform/media/driver_records.h"

#include <array>

namespace driver {
namespace {

constexpr size_t kWordCount = kMediaInfoRecordSize / 4;
using Words = std::array<uint32_t, kWordCount>;

// The record's fields in their order on the wire; FromWords mirrors it.
Words ToWords(const MediaInfoReport& r) {
  return {static_cast<uint32_t>(r.intermediateFrequencyKHz),
          static_cast<uint32_t>(r.symbolRateBd),
          r.standard, r.modcod, r.dvbsCodeRate, r.modulation, r.streamType,
          r.singleInputStream, r.constantCodingModulation, r.inputStreamSynchro,
          r.nullPacketDeletion, r.rollOff,
          static_cast<uint32_t>(r.inputStreamId),
          r.matype1, r.matype2, r.spectrumInversion, r.pilots, r.shortFrame};
}

MediaInfoReport FromWords(const Words& w) {
  MediaInfoReport r;
  r.intermediateFrequencyKHz = static_cast<int32_t>(w[0]);
  r.symbolRateBd = static_cast<int32_t>(w[1]);
  r.standard = w[2];
  r.modcod = w[3];
  r.dvbsCodeRate = w[4];
  r.modulation = w[5];
  r.streamType = w[6];
  r.singleInputStream = w[7];
  r.constantCodingModulation = w[8];
  r.inputStreamSynchro = w[9];
  r.nullPacketDeletion = w[10];
  r.rollOff = w[11];
  r.inputStreamId = static_cast<int32_t>(w[12]);
  r.matype1 = w[13];
  r.matype2 = w[14];
  r.spectrumInversion = w[15];
  r.pilots = w[16];
  r.shortFrame = w[17];
  return r;
}

}  // namespace

void EncodeMediaInfo(const MediaInfoReport& report, uint8_t out[kMediaInfoRecordSize]) {
  const Words words = ToWords(report);
  for (size_t i = 0; i < kWordCount; ++i) {
    for (size_t byte = 0; byte < 4; ++byte) out[i * 4 + byte] = static_cast<uint8_t>(words[i] >> (8 * byte));
  }
}

MediaInfoReport DecodeMediaInfo(const uint8_t in[kMediaInfoRecordSize]) {
  Words words{};
  for (size_t i = 0; i < kWordCount; ++i) {
    for (size_t byte = 0; byte < 4; ++byte) words[i] |= static_cast<uint32_t>(in[i * 4 + byte]) << (8 * byte);
  }
  return FromWords(words);
}

}  // namespace driver
