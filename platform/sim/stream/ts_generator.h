// TsGenerator: a deterministic MPEG transport stream of one programme at a
// constant bit rate: PAT, PMT and SDT repeated about every 100 ms, a PCR on
// the video PID about every 20 ms, the test card's frames (intra-only
// MPEG-2 video, 25 Hz, one PES packet per frame with its PTS), and null
// packets filling the rest of the multiplex. All timing follows the packet
// count at the nominal bit rate, never the wall clock, so the same settings
// always give the same bytes.
//
// A frame is due every 40 ms of stream time. It goes out in one burst within
// one Fill when it fits in what is left of that Fill, else at the start of
// the next: a stream cut between two Fills (a recording stopped between two
// samples) then never ends in the middle of a frame. Its PTS follows its tick
// by at least that wait and its own sending time. When the bit rate is too
// low for a frame every 40 ms, the frames that do not fit are left out (the
// next frame shows the right clock all the same); a frame too large for any
// Fill goes out at once.
//
// Most packets are null packets that differ from one another only in their
// first 8 bytes (header and packet number). When Fill is handed a buffer it
// filled before (the allocator recycles a few), it rewrites only those bytes
// in slots that held a null packet; this relies on nobody else writing into
// those buffers (downstream pins treat samples as read-only), and
// ForgetBuffers must be called whenever buffer memory may have been reused.
//
// The streaming thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/sim/stream/sim_stream_config.h"
#include "platform/sim/stream/ts_source.h"

class TestCard;

class TsGenerator final : public TsSource {
 public:
  // packetsPerFill: the packets Fill is usually asked for (one sample);
  // continuityErrorEvery: see SimCaptureConfig.
  TsGenerator(const SimStreamContent& content, std::uint64_t bitRate, std::size_t packetsPerFill,
              std::uint64_t continuityErrorEvery = 0);
  ~TsGenerator() override;

  std::size_t Fill(std::uint8_t* out, std::size_t packets) override;
  // Buffers handed to Fill from now on are treated as new.
  void ForgetBuffers();

  // Takes effect at the next packet; timestamps go on without a jump.
  void SetBitRate(std::uint64_t bitRate);
  // New tables (next version) from the next table repetition on, and the
  // new test card from the next frame on.
  void SetContent(const SimStreamContent& content);

  std::uint64_t PacketsWritten() const { return m_packet; }

 private:
  enum class Slot { Table, Pcr, Video, Null };
  enum class Frame { None, Queued, Sending };

  // left: packets left in this Fill, fill: the packets this Fill was asked for.
  Slot NextSlot(std::size_t left, std::size_t fill);
  // Whether a queued frame can go out whole within this many packets.
  bool FrameFits(std::size_t packets) const;
  std::size_t QuietRun(std::size_t left) const;
  // inPlace: per packet, whether its slot holds a null packet's body already.
  void WriteNullPackets(std::uint8_t* out, std::uint8_t* inPlace, std::size_t count);
  void WriteSectionPacket(std::uint8_t* out, std::uint16_t pid, const std::vector<std::uint8_t>& section);
  void WritePcrPacket(std::uint8_t* out);
  void WriteVideoPacket(std::uint8_t* out);
  // Queues the frame of the tick that is due, if the last one has been sent.
  void QueueDueFrame();
  void Advance(std::uint64_t packets);
  std::uint8_t NextCounter(std::uint16_t pid);
  std::uint64_t Pcr27MHz() const;
  // The first packet whose PCR time is at or after pcr.
  std::uint64_t PacketAt(std::uint64_t pcr) const;
  void Replan();

  SimStreamContent m_content;
  std::shared_ptr<const TestCard> m_card;
  std::uint64_t m_bitRate;
  const std::size_t m_packetsPerFill;
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
  std::uint64_t m_tablePhase = 0;     // position within the table interval
  std::uint64_t m_nextPcrPacket = 0;
  // Frame ticks, every 40 ms of stream time: the next one's number, time
  // and packet.
  std::uint64_t m_nextTick = 0;
  std::uint64_t m_nextTickPcr = 0;
  std::uint64_t m_nextTickPacket = 0;
  bool m_tickDue = false;
  std::uint64_t m_dueTick = 0;
  std::uint64_t m_ptsDelay = 0;        // 90 kHz units from a tick to its frame's PTS
  std::uint64_t m_lastPts = 0;         // unwrapped, of the last frame started
  bool m_anyFrame = false;
  // The frame queued or being sent: its PES packet and how much went out.
  // Frames of one second share all but their time code, so the PES packet
  // is coded afresh only when the second (or the card) changes.
  Frame m_frame = Frame::None;
  std::vector<std::uint8_t> m_pes;
  std::size_t m_pesSent = 0;
  std::uint64_t m_pesSecond = UINT64_MAX;
  // The injected continuity fault.
  std::uint64_t m_faultEvery;
  std::uint64_t m_nextFaultPacket;
  bool m_skipCounter = false;
  // Per buffer handed to Fill: which packet slots hold a null packet.
  std::unordered_map<const std::uint8_t*, std::vector<std::uint8_t>> m_nullSlots;
};
