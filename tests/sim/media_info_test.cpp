#include "platform/sim/sky/media_info.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

Transponder Dvbs2(StreamType stream, RollOff rollOff, std::vector<int> ids = {}) {
  return {.frequencyMHz = 11362, .symbolRateKs = 22000, .system = DeliverySystem::DvbS2,
          .modulation = Modulation::Psk8, .codeRate = CodeRate::R2_3, .rollOff = rollOff,
          .streamType = stream, .inputStreamIds = std::move(ids)};
}

TEST(MediaInfo, MatypeBytes) {
  const auto with = [](Transponder t, auto change) { change(t); return t; };
  const struct {
    const char* name;
    Transponder transponder;
    int requestedId;
    uint8_t matype1, matype2;
  } cases[] = {
      {"TS single CCM 0.35", Dvbs2(StreamType::Transport, RollOff::R0_35), -1, 0xF0, 0},
      {"TS single CCM 0.25", Dvbs2(StreamType::Transport, RollOff::R0_25), -1, 0xF1, 0},
      {"TS single CCM 0.20", Dvbs2(StreamType::Transport, RollOff::R0_20), -1, 0xF2, 0},
      {"GS packetized", Dvbs2(StreamType::GenericPacketized, RollOff::R0_35), -1, 0x30, 0},
      {"GS continuous", Dvbs2(StreamType::GenericContinuous, RollOff::R0_20), -1, 0x72, 0},
      {"ACM", with(Dvbs2(StreamType::Transport, RollOff::R0_35), [](auto& t) { t.ccm = false; }), -1, 0xE0, 0},
      {"ISSYI and NPD", with(Dvbs2(StreamType::Transport, RollOff::R0_35), [](auto& t) { t.issy = t.npd = true; }),
       -1, 0xFC, 0},
      {"one listed id is single", Dvbs2(StreamType::Transport, RollOff::R0_20, {7}), 7, 0xF2, 0},
      {"MIS, requested id", Dvbs2(StreamType::Transport, RollOff::R0_20, {1, 2, 10}), 10, 0xD2, 10},
      {"MIS, unknown id gives first", Dvbs2(StreamType::Transport, RollOff::R0_20, {4, 2, 10}), 3, 0xD2, 4},
      {"MIS GS ACM", with(Dvbs2(StreamType::GenericContinuous, RollOff::R0_25, {200, 255}), [](auto& t) { t.ccm = false; }),
       255, 0x41, 255},
      {"DVB-S", {.frequencyMHz = 11034, .symbolRateKs = 27500, .codeRate = CodeRate::R3_4}, -1, 0xF0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Matype1(c.transponder), c.matype1) << c.name;
    EXPECT_EQ(Matype2(c.transponder, c.requestedId), c.matype2) << c.name;
  }
}

TEST(MediaInfo, DecodedFieldsAgreeWithMatypeForEveryBuiltInCarrier) {
  for (const Satellite& satellite : DefaultSky().satellites) {
    for (const Transponder& t : satellite.transponders) {
      const MediaInfoReport r = DescribeCarrier(t, 1000000, 2);
      SCOPED_TRACE(t.frequencyMHz);
      EXPECT_EQ(r.streamType, r.matype1 >> 6);
      EXPECT_EQ(r.singleInputStream, (r.matype1 >> 5) & 1);
      EXPECT_EQ(r.constantCodingModulation, (r.matype1 >> 4) & 1);
      EXPECT_EQ(r.inputStreamSynchro, (r.matype1 >> 3) & 1);
      EXPECT_EQ(r.nullPacketDeletion, (r.matype1 >> 2) & 1);
      EXPECT_EQ(r.rollOff, r.matype1 & 3);
      EXPECT_EQ(r.matype2, r.singleInputStream ? 0u : static_cast<uint32_t>(r.inputStreamId));
      EXPECT_EQ(r.symbolRateBd, t.symbolRateKs * 1000);
      EXPECT_EQ(r.modulation, static_cast<uint32_t>(t.modulation));
      if (r.standard == 1) {
        EXPECT_GE(r.modcod, 1u);
        EXPECT_LE(r.modcod, 28u);
        EXPECT_EQ(r.dvbsCodeRate, 8u);  // shown as unknown
      } else {
        EXPECT_EQ(r.modcod, 0u);
        EXPECT_LE(r.dvbsCodeRate, 7u);
      }
    }
  }
}

TEST(MediaInfo, EncodesEighteenLittleEndianWordsAndDecodesThemBack) {
  MediaInfoReport report;
  report.intermediateFrequencyKHz = 0x01020304;
  report.symbolRateBd = -2;
  report.modcod = 13;
  report.inputStreamId = 10;
  report.matype1 = 0xD2;
  report.shortFrame = 1;
  uint8_t record[kMediaInfoRecordSize];
  EncodeMediaInfo(report, record);

  EXPECT_EQ(std::vector<uint8_t>(record, record + 8), (std::vector<uint8_t>{4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(record[12], 13);
  EXPECT_EQ(record[48], 10);
  EXPECT_EQ(record[52], 0xD2);
  EXPECT_EQ(record[68], 1);

  // Every word different, so a swapped pair of fields cannot round-trip.
  for (size_t i = 0; i < kMediaInfoRecordSize; ++i) record[i] = static_cast<uint8_t>(i % 4 == 0 ? i / 4 + 1 : 0);
  const MediaInfoReport back = DecodeMediaInfo(record);
  EXPECT_EQ(back.intermediateFrequencyKHz, 1);
  EXPECT_EQ(back.inputStreamId, 13);
  EXPECT_EQ(back.shortFrame, 18u);
  uint8_t again[kMediaInfoRecordSize];
  EncodeMediaInfo(back, again);
  EXPECT_EQ(std::vector<uint8_t>(record, record + 72), std::vector<uint8_t>(again, again + 72));
}

}  // namespace
}  // namespace sim
