#include "platform/sim/stream/ts_generator.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/sim/stream/psi_tables.h"

namespace {

constexpr std::size_t kPacket = 188;
static_assert(std::endian::native == std::endian::little, "plain headers are written as one little-endian word");
constexpr std::uint64_t kPcrClock = 27'000'000;
constexpr std::uint64_t kWrap33 = 1ull << 33;

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

// The body of the video packets: a fixed pattern, made once.
const std::uint8_t* Pattern() {
  static const auto pattern = [] {
    std::array<std::uint8_t, kPacket> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return bytes;
  }();
  return pattern.data();
}

}  // namespace

TsGenerator::TsGenerator(const SimStreamContent& content, std::uint64_t bitRate)
    : m_content(content), m_bitRate(std::max<std::uint64_t>(bitRate, 1)) {
  m_pat = BuildPat(m_content, m_version);
  m_pmt = BuildPmt(m_content, m_version);
  m_sdt = BuildSdt(m_content, m_version);
  Replan();
}

void TsGenerator::SetBitRate(std::uint64_t bitRate) {
  m_basePcr = Pcr27MHz();
  m_basePacket = m_packet;
  m_bitRate = std::max<std::uint64_t>(bitRate, 1);
  Replan();
}

void TsGenerator::SetContent(const SimStreamContent& content) {
  m_content = content;
  m_version = static_cast<std::uint8_t>((m_version + 1) & 0x1F);
  m_pat = BuildPat(m_content, m_version);
  m_pmt = BuildPmt(m_content, m_version);
  m_sdt = BuildSdt(m_content, m_version);
}

void TsGenerator::Replan() {
  const std::uint64_t packetsPerSecond = std::max<std::uint64_t>(m_bitRate / (kPacket * 8), 1);
  m_tableInterval = std::max<std::uint64_t>(packetsPerSecond / 10, 4);
  m_pcrInterval = std::max<std::uint64_t>(packetsPerSecond / 50, 1);
  m_frameInterval = std::max<std::uint64_t>(packetsPerSecond / 25, 1);
  m_tablePhase %= m_tableInterval;
  m_pcrPhase %= m_pcrInterval;
  m_framePhase %= m_frameInterval;
}

std::uint64_t TsGenerator::Pcr27MHz() const {
  const unsigned __int128 ticks =
      static_cast<unsigned __int128>(m_packet - m_basePacket) * (kPacket * 8) * kPcrClock / m_bitRate;
  return m_basePcr + static_cast<std::uint64_t>(ticks);
}

std::uint8_t TsGenerator::NextCounter(std::uint16_t pid) {
  const std::uint8_t counter = m_counters[pid & 0x1FFF];
  m_counters[pid & 0x1FFF] = static_cast<std::uint8_t>((counter + 1) & 0x0F);
  return counter;
}

void TsGenerator::ForgetBuffers() { m_plainSlots.clear(); }

std::size_t TsGenerator::Fill(std::uint8_t* out, std::size_t packets) {
  std::vector<std::uint8_t>& slots = m_plainSlots[out];
  if (slots.size() < packets) slots.resize(packets, 0);
  std::uint8_t* plain = slots.data();
  for (std::size_t i = 0; i < packets;) {
    if (m_tablePhase >= 3 && plain[i] && m_framePhase != 0 && m_pcrPhase != 0) {
      const std::size_t run = PlainRun(plain + i, packets - i);
      WritePlainVideoHeaders(out, run);
      out += run * kPacket;
      i += run;
      continue;
    }
    switch (m_tablePhase) {
      case 0: WriteSectionPacket(out, 0x0000, m_pat); plain[i] = 0; break;
      case 1: WriteSectionPacket(out, m_content.pmtPid, m_pmt); plain[i] = 0; break;
      case 2: WriteSectionPacket(out, 0x0011, m_sdt); plain[i] = 0; break;
      default: plain[i] = WriteVideoPacket(out, plain[i]); break;
    }
    if (++m_tablePhase == m_tableInterval) m_tablePhase = 0;
    ++m_packet;
    ++i;
    out += kPacket;
  }
  return packets;
}

// The plain video packets that follow at once: their bodies are in place,
// and no table, frame start or PCR falls among them.
std::size_t TsGenerator::PlainRun(const std::uint8_t* plain, std::size_t left) const {
  const std::size_t limit = static_cast<std::size_t>(std::min({static_cast<std::uint64_t>(left),
                                                               m_tableInterval - m_tablePhase,
                                                               m_frameInterval - m_framePhase,
                                                               m_pcrInterval - m_pcrPhase}));
  std::size_t run = 1;
  while (run < limit && plain[run]) ++run;
  return run;
}

// The common case, and the card's whole cost per byte: only the header and
// the packet number change in a plain packet.
void TsGenerator::WritePlainVideoHeaders(std::uint8_t* out, std::size_t count) {
  const std::uint16_t pid = m_content.videoPid & 0x1FFF;
  std::uint8_t counter = m_counters[pid];
  const std::uint32_t header = 0x47000000u | (static_cast<std::uint32_t>(pid) << 8) | 0x10u;
  for (std::size_t k = 0; k < count; ++k, out += kPacket) {
    const std::uint64_t word = static_cast<std::uint64_t>(__builtin_bswap32(header | counter)) |
                               static_cast<std::uint64_t>(__builtin_bswap32(static_cast<std::uint32_t>(m_packet + k))) << 32;
    std::memcpy(out, &word, sizeof word);
    counter = static_cast<std::uint8_t>((counter + 1) & 0x0F);
  }
  m_counters[pid] = counter;
  m_packet += count;
  m_tablePhase += count;
  m_framePhase += count;
  m_pcrPhase += count;
  if (m_tablePhase == m_tableInterval) m_tablePhase = 0;
  if (m_framePhase == m_frameInterval) m_framePhase = 0;
  if (m_pcrPhase == m_pcrInterval) m_pcrPhase = 0;
}

void TsGenerator::WriteSectionPacket(std::uint8_t* out, std::uint16_t pid, const std::vector<std::uint8_t>& section) {
  Header(out, pid, true, 0x1, NextCounter(pid));
  out[4] = 0;  // pointer field
  const std::size_t size = std::min(section.size(), kPacket - 5);
  std::memcpy(out + 5, section.data(), size);
  std::memset(out + 5 + size, 0xFF, kPacket - 5 - size);
}

bool TsGenerator::WriteVideoPacket(std::uint8_t* out, bool bodyInPlace) {
  const bool frameStart = m_framePhase == 0;
  const bool pcr = m_pcrPhase == 0;
  if (++m_framePhase == m_frameInterval) m_framePhase = 0;
  if (++m_pcrPhase == m_pcrInterval) m_pcrPhase = 0;
  Header(out, m_content.videoPid, frameStart, pcr ? 0x3 : 0x1, NextCounter(m_content.videoPid));
  std::size_t at = 4;
  const std::uint64_t now = pcr || frameStart ? Pcr27MHz() : 0;
  if (pcr) {
    const std::uint64_t base = (now / 300) % kWrap33;
    const std::uint64_t extension = now % 300;
    out[4] = 7;     // adaptation field length
    out[5] = 0x10;  // PCR present
    out[6] = static_cast<std::uint8_t>(base >> 25);
    out[7] = static_cast<std::uint8_t>(base >> 17);
    out[8] = static_cast<std::uint8_t>(base >> 9);
    out[9] = static_cast<std::uint8_t>(base >> 1);
    out[10] = static_cast<std::uint8_t>(((base & 1) << 7) | 0x7E | (extension >> 8));
    out[11] = static_cast<std::uint8_t>(extension);
    at = 12;
  }
  if (frameStart) {
    const std::uint8_t pes[9] = {0x00, 0x00, 0x01, 0xE0, 0x00, 0x00, 0x80, 0x80, 0x05};
    std::memcpy(out + at, pes, sizeof(pes));
    PutTimestamp(out + at + 9, 0x2, (now / 300 + 9000) % kWrap33);  // presented 100 ms after arrival
    at += 14;
  }
  // The packet number first, so that no two packets of a stream are alike.
  for (int shift = 24; shift >= 0; shift -= 8) out[at++] = static_cast<std::uint8_t>(m_packet >> shift);
  if (at != 8 || !bodyInPlace) std::memcpy(out + at, Pattern(), kPacket - at);
  return at == 8;
}
