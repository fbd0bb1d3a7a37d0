// TsGenerator: a deterministic MPEG transport stream of one program: PAT,
// PMT and SDT repeated about every 100 ms of stream, and a video-like
// elementary stream whose packets carry continuity counters, a PCR about
// every 20 ms, and a PES header with a PTS at each 25 Hz frame start. The
// timestamps follow the packet count at the nominal bit rate, never the
// wall clock, so the same settings always give the same bytes.
//
// Most packets differ from the previous ones only in their first 8 bytes.
// When Fill is handed a buffer it filled before (the allocator recycles a
// few), it rewrites only what changed; this relies on nobody else writing
// into those buffers (downstream pins treat samples as read-only), and
// ForgetBuffers must be called whenever buffer memory may have been reused.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/sim/stream/sim_stream_config.h"
#include "platform/sim/stream/ts_source.h"

class TsGenerator final : public TsSource {
 public:
  TsGenerator(const SimStreamContent& content, std::uint64_t bitRate);

  std::size_t Fill(std::uint8_t* out, std::size_t packets) override;
  // Buffers handed to Fill from now on are treated as new.
  void ForgetBuffers();

  // Takes effect at the next packet; timestamps go on without a jump.
  void SetBitRate(std::uint64_t bitRate);
  // New tables (next version) from the next table repetition on.
  void SetContent(const SimStreamContent& content);

  std::uint64_t PacketsWritten() const { return m_packet; }

 private:
  void WriteSectionPacket(std::uint8_t* out, std::uint16_t pid, const std::vector<std::uint8_t>& section);
  // How many plain video packets with their bodies in place follow, at most left.
  std::size_t PlainRun(const std::uint8_t* plain, std::size_t left) const;
  // Plain video packets without PCR or PES header whose bodies are in place.
  void WritePlainVideoHeaders(std::uint8_t* out, std::size_t count);
  // Returns whether the packet is a plain video packet (body at offset 8).
  bool WriteVideoPacket(std::uint8_t* out, bool bodyInPlace);
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
  // Positions within those intervals, counted instead of divided: the
  // generator runs for every packet the card delivers.
  std::uint64_t m_tablePhase = 0;
  std::uint64_t m_pcrPhase = 0;
  std::uint64_t m_framePhase = 0;
  // Per buffer handed to Fill: which packet slots hold a plain video packet.
  std::unordered_map<const std::uint8_t*, std::vector<std::uint8_t>> m_plainSlots;
};
