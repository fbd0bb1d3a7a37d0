// TsGenerator: a deterministic MPEG transport stream of one program: PAT,
// PMT and SDT repeated about every 100 ms of stream, and a video-like
// elementary stream whose packets carry continuity counters, a PCR about
// every 20 ms, and a PES header with a PTS at each 25 Hz frame start. The
// timestamps follow the packet count at the nominal bit rate, never the
// wall clock, so the same settings always give the same bytes.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/sim/stream/sim_stream_config.h"
#include "platform/sim/stream/ts_source.h"

class TsGenerator final : public TsSource {
 public:
  TsGenerator(const SimStreamContent& content, std::uint64_t bitRate);

  std::size_t Fill(std::uint8_t* out, std::size_t packets) override;

  // Takes effect at the next packet; timestamps go on without a jump.
  void SetBitRate(std::uint64_t bitRate);
  // New tables (next version) from the next table repetition on.
  void SetContent(const SimStreamContent& content);

  std::uint64_t PacketsWritten() const { return m_packet; }

 private:
  void WriteSectionPacket(std::uint8_t* out, std::uint16_t pid, const std::vector<std::uint8_t>& section);
  void WriteVideoPacket(std::uint8_t* out);
  std::uint8_t NextCounter(std::uint16_t pid);
  std::uint64_t Pcr27MHz() const;
  void Replan();

  SimStreamContent m_content;
  std::uint64_t m_bitRate;
  std::uint8_t m_version = 0;
  std::vector<std::uint8_t> m_pat, m_pmt, m_sdt;
  std::array<std::uint8_t, 8192> m_counters{};
  std::uint64_t m_packet = 0;
  // Timestamps are measured from a base so a bit rate change keeps them
  // continuous.
  std::uint64_t m_basePacket = 0;
  std::uint64_t m_basePcr = 0;
  std::uint64_t m_tableInterval = 1;  // packets between table repetitions
  std::uint64_t m_pcrInterval = 1;    // packets between PCRs
  std::uint64_t m_frameInterval = 1;  // packets per video frame
  std::uint64_t m_videoPackets = 0;
};
