#include "platform/sim/stream/ts_generator.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/sim/stream/psi_tables.h"
#include "platform/sim/video/test_card.h"

namespace {

constexpr std::size_t kPacket = 188;
constexpr std::size_t kPayload = 184;
constexpr std::uint64_t kPacketBits = kPacket * 8;
static_assert(std::endian::native == std::endian::little, "null headers are written as one little-endian word");
constexpr std::uint64_t kPcrClock = 27'000'000;
constexpr std::uint64_t kPcrPerFrame = kPcrClock / TestCard::kFrameRate;
constexpr std::uint64_t kWrap33 = 1ull << 33;
constexpr std::uint16_t kNullPid = 0x1FFF;
constexpr std::size_t kPesHeader = 14;

void Header(std::uint8_t* out, std::uint16_t pid, bool unitStart, std::uint8_t adaptation, std::uint8_t counter) {
  out[0] = 0x47;
  out[1] = static_cast<std::uint8_t>((unitStart ? 0x40 : 0) | ((pid >> 8) & 0x1F));
  out[2] = static_cast<std::uint8_t>(pid);
  out[3] = static_cast<std::uint8_t>((adaptation << 4) | (counter & 0x0F));
}

void PutTimestamp(std::uint8_t* out, std::uint8_t prefix, std::uint64_t t) {
  out[0] = static_cast<std::uint8_t>((prefix << 4) | (((t >> 30) & 0x07) << 1) | 1);
  out[1] = static_cast<std::uint8_t>(t >> 22);
  out[2] = static_cast<std::uint8_t>(((t >> 15) & 0x7F) << 1 | 1);
  out[3] = static_cast<std::uint8_t>(t >> 7);
  out[4] = static_cast<std::uint8_t>((t & 0x7F) << 1 | 1);
}

}  // namespace

TsGenerator::TsGenerator(const SimStreamContent& content, std::uint64_t bitRate, std::size_t packetsPerFill,
                         std::uint64_t continuityErrorEvery)
    : m_content(content),
      m_card(TestCardFor(content.caption)),
      m_bitRate(std::max<std::uint64_t>(bitRate, 1)),
      m_packetsPerFill(std::max<std::size_t>(packetsPerFill, 1)),
      m_faultEvery(continuityErrorEvery),
      m_nextFaultPacket(continuityErrorEvery) {
  m_pat = BuildPat(m_content, m_version);
  m_pmt = BuildPmt(m_content, m_version);
  m_sdt = BuildSdt(m_content, m_version);
  Replan();
}

TsGenerator::~TsGenerator() = default;

void TsGenerator::SetBitRate(std::uint64_t bitRate) {
  m_basePcr = Pcr27MHz();
  m_basePacket = m_packet;
  m_bitRate = std::max<std::uint64_t>(bitRate, 1);
  Replan();
}

void TsGenerator::SetContent(const SimStreamContent& content) {
  m_content = content;
  m_card = TestCardFor(content.caption);
  m_pesSecond = UINT64_MAX;
  m_version = static_cast<std::uint8_t>((m_version + 1) & 0x1F);
  m_pat = BuildPat(m_content, m_version);
  m_pmt = BuildPmt(m_content, m_version);
  m_sdt = BuildSdt(m_content, m_version);
  Replan();
}

void TsGenerator::Replan() {
  const std::uint64_t packetsPerSecond = std::max<std::uint64_t>(m_bitRate / kPacketBits, 1);
  m_tableInterval = std::max<std::uint64_t>(packetsPerSecond / 10, 4);
  m_pcrInterval = std::max<std::uint64_t>(packetsPerSecond / 50, 8);
  m_tablePhase %= m_tableInterval;
  m_nextPcrPacket = std::min(m_nextPcrPacket, m_packet + m_pcrInterval);
  m_nextTickPacket = PacketAt(m_nextTickPcr);
  // A frame's PTS follows its tick by the wait for the next Fill and twice
  // the largest frame's sending time, and never by less than 100 ms.
  const std::uint64_t framePackets = (m_card->MaxFrameBytes() + kPesHeader + kPayload - 1) / kPayload;
  const std::uint64_t packets = m_packetsPerFill + 2 * framePackets;
  const auto sending = static_cast<std::uint64_t>(static_cast<unsigned __int128>(packets) * kPacketBits * 90'000 / m_bitRate);
  m_ptsDelay = std::max<std::uint64_t>(9'000, sending + 3'600);
}

std::uint64_t TsGenerator::Pcr27MHz() const {
  const unsigned __int128 ticks = static_cast<unsigned __int128>(m_packet - m_basePacket) * kPacketBits * kPcrClock / m_bitRate;
  return m_basePcr + static_cast<std::uint64_t>(ticks);
}

std::uint64_t TsGenerator::PacketAt(std::uint64_t pcr) const {
  if (pcr <= m_basePcr) return m_basePacket;
  const unsigned __int128 scaled = static_cast<unsigned __int128>(pcr - m_basePcr) * m_bitRate;
  const unsigned __int128 perPacket = static_cast<unsigned __int128>(kPacketBits) * kPcrClock;
  return m_basePacket + static_cast<std::uint64_t>((scaled + perPacket - 1) / perPacket);
}

std::uint8_t TsGenerator::NextCounter(std::uint16_t pid) {
  std::uint8_t counter = m_counters[pid & 0x1FFF];
  if (m_skipCounter && pid != kNullPid) {  // the injected fault: a packet lost on the way
    counter = static_cast<std::uint8_t>((counter + 1) & 0x0F);
    m_skipCounter = false;
  }
  m_counters[pid & 0x1FFF] = static_cast<std::uint8_t>((counter + 1) & 0x0F);
  return counter;
}

void TsGenerator::ForgetBuffers() { m_nullSlots.clear(); }

void TsGenerator::Advance(std::uint64_t packets) {
  m_packet += packets;
  m_tablePhase += packets;
  if (m_tablePhase >= m_tableInterval) m_tablePhase -= m_tableInterval;
  while (m_faultEvery != 0 && m_packet >= m_nextFaultPacket) {
    m_skipCounter = true;
    m_nextFaultPacket += m_faultEvery;
  }
}

TsGenerator::Slot TsGenerator::NextSlot(std::size_t left, std::size_t fill) {
  if (m_tablePhase < 3) return Slot::Table;
  if (m_packet >= m_nextPcrPacket) return Slot::Pcr;
  while (m_packet >= m_nextTickPacket) {
    m_tickDue = true;
    m_dueTick = m_nextTick++;
    m_nextTickPcr += kPcrPerFrame;
    m_nextTickPacket = PacketAt(m_nextTickPcr);
  }
  QueueDueFrame();
  if (m_frame == Frame::Queued && (FrameFits(left) || !FrameFits(fill))) m_frame = Frame::Sending;
  return m_frame == Frame::Sending ? Slot::Video : Slot::Null;
}

bool TsGenerator::FrameFits(std::size_t packets) const {
  // Tables and PCRs take slots too; count them generously.
  const std::uint64_t others = 3 * (packets / m_tableInterval + 1) + packets / m_pcrInterval + 1;
  const std::uint64_t framePackets = (m_pes.size() + kPayload - 1) / kPayload;
  return framePackets + others <= packets;
}

void TsGenerator::QueueDueFrame() {
  if (!m_tickDue || m_frame != Frame::None) return;  // a frame still waiting or going out: this tick is left out
  m_tickDue = false;
  const std::uint64_t pts = m_dueTick * kPcrPerFrame / 300 + m_ptsDelay;
  if (m_anyFrame && pts <= m_lastPts) return;  // a shorter delay after a change must not go back
  m_anyFrame = true;
  m_lastPts = pts;
  const std::uint64_t second = m_dueTick / TestCard::kFrameRate;
  if (second != m_pesSecond) {
    m_pes.assign({0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x84, 0x80, 0x05});  // video, aligned, PTS only
    m_pes.resize(kPesHeader);
    m_card->AppendFrame(m_dueTick, &m_pes);
    m_pesSecond = second;
  } else {
    m_card->RewriteFrameTime(m_dueTick, m_pes.data() + kPesHeader);
  }
  PutTimestamp(&m_pes[9], 0x2, pts % kWrap33);
  m_pesSent = 0;
  m_frame = Frame::Queued;
}

std::size_t TsGenerator::Fill(std::uint8_t* out, std::size_t packets) {
  std::vector<std::uint8_t>& slots = m_nullSlots[out];
  if (slots.size() < packets) slots.resize(packets, 0);
  std::uint8_t* inPlace = slots.data();
  for (std::size_t i = 0; i < packets;) {
    const Slot slot = NextSlot(packets - i, packets);
    if (slot == Slot::Table || slot == Slot::Pcr) {
      if (slot == Slot::Pcr) {
        WritePcrPacket(out);
        m_nextPcrPacket = m_packet + m_pcrInterval;
      } else if (m_tablePhase == 0) {
        WriteSectionPacket(out, 0x0000, m_pat);
      } else if (m_tablePhase == 1) {
        WriteSectionPacket(out, m_content.pmtPid, m_pmt);
      } else {
        WriteSectionPacket(out, 0x0011, m_sdt);
      }
      inPlace[i] = 0;
      Advance(1);
      ++i;
      out += kPacket;
      continue;
    }
    // Video or null packets up to the next table, PCR, frame tick or fault.
    std::size_t run = QuietRun(packets - i);
    if (slot == Slot::Video) {
      run = std::min(run, (m_pes.size() - m_pesSent + kPayload - 1) / kPayload);
      for (std::size_t k = 0; k < run; ++k, out += kPacket) WriteVideoPacket(out);
      std::memset(inPlace + i, 0, run);
    } else {
      WriteNullPackets(out, inPlace + i, run);
      out += run * kPacket;
    }
    Advance(run);
    i += run;
  }
  return packets;
}

// The packets that follow before a table, a PCR, a frame tick or an injected
// fault is due, at most left. A frame that waits for the next Fill cannot
// start among them: what is left of a Fill only shrinks.
std::size_t TsGenerator::QuietRun(std::size_t left) const {
  std::uint64_t limit = std::min<std::uint64_t>({left, m_tableInterval - m_tablePhase, m_nextPcrPacket - m_packet,
                                                 m_nextTickPacket - m_packet});
  if (m_faultEvery != 0) limit = std::min(limit, m_nextFaultPacket - m_packet);
  return static_cast<std::size_t>(std::max<std::uint64_t>(limit, 1));
}

// The common case, and the card's whole cost per byte: a null packet whose
// body is already in place needs only its header and packet number; the
// others are written whole. A null packet's payload is ignored by receivers;
// the packet number in it keeps any two packets of a stream apart.
void TsGenerator::WriteNullPackets(std::uint8_t* out, std::uint8_t* inPlace, std::size_t count) {
  std::uint8_t counter = m_counters[kNullPid];
  const std::uint32_t header = 0x47000000u | (static_cast<std::uint32_t>(kNullPid) << 8) | 0x10u;
  for (std::size_t k = 0; k < count; ++k, out += kPacket) {
    const std::uint64_t word = static_cast<std::uint64_t>(__builtin_bswap32(header | counter)) |
                               static_cast<std::uint64_t>(__builtin_bswap32(static_cast<std::uint32_t>(m_packet + k))) << 32;
    std::memcpy(out, &word, sizeof word);
    if (!inPlace[k]) {
      std::memset(out + 8, 0xFF, kPacket - 8);
      inPlace[k] = 1;
    }
    counter = static_cast<std::uint8_t>((counter + 1) & 0x0F);
  }
  m_counters[kNullPid] = counter;
}

void TsGenerator::WriteSectionPacket(std::uint8_t* out, std::uint16_t pid, const std::vector<std::uint8_t>& section) {
  Header(out, pid, true, 0x1, NextCounter(pid));
  out[4] = 0;  // pointer field
  const std::size_t size = std::min(section.size(), kPacket - 5);
  std::memcpy(out + 5, section.data(), size);
  std::memset(out + 5 + size, 0xFF, kPacket - 5 - size);
}

// An adaptation field alone: the counter stays that of the last payload.
void TsGenerator::WritePcrPacket(std::uint8_t* out) {
  const std::uint16_t pid = m_content.videoPid & 0x1FFF;
  Header(out, pid, false, 0x2, static_cast<std::uint8_t>((m_counters[pid] + 15) & 0x0F));
  const std::uint64_t now = Pcr27MHz();
  const std::uint64_t base = (now / 300) % kWrap33;
  const std::uint64_t extension = now % 300;
  out[4] = 183;   // adaptation field length
  out[5] = 0x10;  // PCR present
  out[6] = static_cast<std::uint8_t>(base >> 25);
  out[7] = static_cast<std::uint8_t>(base >> 17);
  out[8] = static_cast<std::uint8_t>(base >> 9);
  out[9] = static_cast<std::uint8_t>(base >> 1);
  out[10] = static_cast<std::uint8_t>(((base & 1) << 7) | 0x7E | (extension >> 8));
  out[11] = static_cast<std::uint8_t>(extension);
  std::memset(out + 12, 0xFF, kPacket - 12);
}

// The next piece of the frame's PES packet; the last one is padded with
// adaptation-field stuffing, so the frame ends with its packet.
void TsGenerator::WriteVideoPacket(std::uint8_t* out) {
  const std::size_t left = m_pes.size() - m_pesSent;
  const std::size_t payload = std::min(left, kPayload);
  const bool first = m_pesSent == 0;
  if (payload == kPayload) {
    Header(out, m_content.videoPid, first, 0x1, NextCounter(m_content.videoPid));
    std::memcpy(out + 4, m_pes.data() + m_pesSent, kPayload);
  } else {
    Header(out, m_content.videoPid, first, 0x3, NextCounter(m_content.videoPid));
    const std::size_t stuffing = kPayload - 1 - payload;  // the adaptation field's length
    out[4] = static_cast<std::uint8_t>(stuffing);
    if (stuffing > 0) {
      out[5] = 0x00;  // no flags
      std::memset(out + 6, 0xFF, stuffing - 1);
    }
    std::memcpy(out + 5 + stuffing, m_pes.data() + m_pesSent, payload);
  }
  m_pesSent += payload;
  if (m_pesSent == m_pes.size()) m_frame = Frame::None;
}
