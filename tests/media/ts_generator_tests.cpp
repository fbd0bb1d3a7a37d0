// The generated stream as a receiver sees it: clock references exact to the
// packet, tables and PCRs often enough, every frame arriving before it is
// shown and never cut by a sample boundary, injected faults counted exactly,
// and the whole of it decoding cleanly in a real decoder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/media/ts_packet_counter.h"
#include "platform/sim/stream/ts_generator.h"
#include "tests/media/ts_reader.h"
#include "tests/support/ffmpeg.h"

namespace {

constexpr std::uint64_t kPcrClock = 27'000'000;
constexpr std::uint16_t kVideoPid = 0x101;

std::uint64_t PcrAt(std::uint64_t packet, std::uint64_t bitRate) {
  return static_cast<std::uint64_t>(static_cast<unsigned __int128>(packet) * 188 * 8 * kPcrClock / bitRate);
}

std::uint64_t ReadPts(const std::uint8_t* p) {
  return (std::uint64_t(p[0] >> 1 & 0x07) << 30) | (std::uint64_t(p[1]) << 22) | (std::uint64_t(p[2] >> 1) << 15) |
         (std::uint64_t(p[3]) << 7) | (p[4] >> 1);
}

// What the video PID carries: PCRs and frames, by packet number.
struct Timeline {
  struct Frame {
    std::uint64_t firstPacket, lastPacket, pts;
  };
  std::vector<std::pair<std::uint64_t, std::uint64_t>> pcrs;  // packet, PCR
  std::vector<std::uint64_t> patPackets;
  std::vector<Frame> frames;
};

Timeline Read(const std::vector<std::uint8_t>& bytes) {
  Timeline t;
  for (std::uint64_t n = 0; n * 188 < bytes.size(); ++n) {
    const std::uint8_t* p = &bytes[n * 188];
    const int pid = (p[1] & 0x1F) << 8 | p[2];
    if (pid == 0) t.patPackets.push_back(n);
    if (pid != kVideoPid) continue;
    const int control = p[3] >> 4 & 3;
    std::size_t payload = 4;
    if (control & 2) {
      if (p[4] > 0 && (p[5] & 0x10)) {
        const std::uint64_t base = (std::uint64_t(p[6]) << 25) | (p[7] << 17) | (p[8] << 9) | (p[9] << 1) | (p[10] >> 7);
        t.pcrs.emplace_back(n, base * 300 + (((p[10] & 1) << 8) | p[11]));
      }
      payload = 5 + p[4];
    }
    if (!(control & 1)) continue;
    if (p[1] & 0x40) t.frames.push_back({n, n, ReadPts(p + payload + 9)});
    else if (!t.frames.empty()) t.frames.back().lastPacket = n;
  }
  return t;
}

std::vector<std::uint8_t> Generate(TsGenerator& generator, std::uint64_t packets, std::size_t perFill) {
  std::vector<std::uint8_t> bytes(packets * 188);
  for (std::uint64_t at = 0; at < packets; at += perFill)
    generator.Fill(&bytes[at * 188], static_cast<std::size_t>(std::min<std::uint64_t>(perFill, packets - at)));
  return bytes;
}

TEST(TsGenerator, TimingIsWhatAReceiverNeeds) {
  constexpr std::size_t kFill = 348;
  for (std::uint64_t bitRate : {43'000'000ull, 16'000'000ull, 2'000'000ull}) {
    SCOPED_TRACE(bitRate);
    TsGenerator generator(SimStreamContent{}, bitRate, kFill);
    const std::uint64_t packets = kFill * (bitRate / (188 * 8) * 3 / kFill);  // about three seconds, whole Fills
    const std::vector<std::uint8_t> bytes = Generate(generator, packets, kFill);
    const Timeline t = Read(bytes);

    ASSERT_GT(t.pcrs.size(), 100u);
    for (std::size_t i = 0; i < t.pcrs.size(); ++i) {
      ASSERT_EQ(t.pcrs[i].second, PcrAt(t.pcrs[i].first, bitRate)) << "a PCR tells the time its packet leaves";
      if (i > 0) EXPECT_LE(t.pcrs[i].second - t.pcrs[i - 1].second, kPcrClock / 25) << "PCRs at most 40 ms apart";
    }
    for (std::size_t i = 1; i < t.patPackets.size(); ++i)
      EXPECT_LE(PcrAt(t.patPackets[i], bitRate) - PcrAt(t.patPackets[i - 1], bitRate), kPcrClock / 10 + 1);

    ASSERT_GT(t.frames.size(), 20u);
    for (std::size_t i = 0; i < t.frames.size(); ++i) {
      const auto& frame = t.frames[i];
      EXPECT_EQ(frame.firstPacket / kFill, frame.lastPacket / kFill) << "frame " << i << " was cut by a sample boundary";
      const std::uint64_t arrived = PcrAt(frame.lastPacket + 1, bitRate) / 300;
      EXPECT_GT(frame.pts, arrived) << "frame " << i << " is shown before it has arrived";
      if (i > 0) {
        EXPECT_GT(frame.pts, t.frames[i - 1].pts);
        EXPECT_EQ((frame.pts - t.frames[i - 1].pts) % 3600, 0u) << "frames fall on the 25 Hz grid";
      }
    }
    if (bitRate >= 16'000'000) EXPECT_EQ(t.frames.size(), 75u) << "every frame of three seconds";

    const TsReport report = ReadTs(bytes);
    EXPECT_EQ(report.continuityErrors, 0u);
    EXPECT_EQ(report.crcErrors, 0u);
  }
}

TEST(TsGenerator, InjectedContinuityErrorsAreOnePerInterval) {
  TsGenerator generator(SimStreamContent{}, 38'000'000, 348, 5000);
  const std::vector<std::uint8_t> bytes = Generate(generator, 100'000, 348);
  TsPacketCounter counter;
  counter.Consume(bytes.data(), bytes.size());
  EXPECT_EQ(counter.ContinuityErrors(), 19u) << "one after each of packets 5000, 10000, ... 95000";
  EXPECT_EQ(ReadTs(bytes).continuityErrors, 19u);
}

// A retune mid-stream: new rate and programme, tables in a new version, and
// a player sees no error across it.
TEST(TsGenerator, AStreamWithARetuneDecodesCleanly) {
  if (!kHaveFfmpeg) GTEST_SKIP() << "ffmpeg is not installed (scripts/setup.sh installs it)";
  TsGenerator generator(SimStreamContent{}, 43'000'000, 348);
  std::vector<std::uint8_t> bytes = Generate(generator, 348 * 100, 348);
  generator.SetBitRate(8'000'000);
  SimStreamContent other;
  other.caption = {{"Sat 9.0E", "11900 V 27500", "ISI 2"}, 2};
  generator.SetContent(other);
  const std::vector<std::uint8_t> after = Generate(generator, 348 * 60, 348);
  bytes.insert(bytes.end(), after.begin(), after.end());
  EXPECT_EQ(ReadTs(bytes).continuityErrors, 0u);

  const std::string path =
      (std::filesystem::temp_directory_path() / ("generated-" + std::to_string(::getpid()) + ".ts")).string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  EXPECT_EQ(DecodeErrors(path), std::string());
  std::filesystem::remove(path);
}

}  // namespace
