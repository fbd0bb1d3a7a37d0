#include "platform/sim/stream/psi_tables.h"

#include "platform/sim/stream/crc32_mpeg.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

// Wraps a body (after the section length) as a long-form section: fills in
// the section length and appends the CRC.
std::vector<std::uint8_t> Section(std::uint8_t tableId, unsigned idExtension, std::uint8_t version,
                                  const std::vector<std::uint8_t>& body) {
  std::vector<std::uint8_t> section;
  section.push_back(tableId);
  const unsigned length = 5 + static_cast<unsigned>(body.size()) + 4;
  Put16(section, 0xB000 | length);  // syntax indicator, reserved bits
  Put16(section, idExtension);
  section.push_back(static_cast<std::uint8_t>(0xC1 | ((version & 0x1F) << 1)));  // current
  section.push_back(0);  // section number
  section.push_back(0);  // last section number
  section.insert(section.end(), body.begin(), body.end());
  const std::uint32_t crc = Crc32Mpeg(section.data(), section.size());
  for (int shift = 24; shift >= 0; shift -= 8) section.push_back(static_cast<std::uint8_t>(crc >> shift));
  return section;
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
  const std::size_t size = std::min<std::size_t>(text.size(), 64);
  out.push_back(static_cast<std::uint8_t>(size));
  out.insert(out.end(), text.begin(), text.begin() + static_cast<long>(size));
}

}  // namespace

std::vector<std::uint8_t> BuildPat(const SimStreamContent& content, std::uint8_t version) {
  std::vector<std::uint8_t> body;
  Put16(body, content.programNumber);
  Put16(body, 0xE000 | (content.pmtPid & 0x1FFF));
  return Section(0x00, content.transportStreamId, version, body);
}

std::vector<std::uint8_t> BuildPmt(const SimStreamContent& content, std::uint8_t version) {
  std::vector<std::uint8_t> body;
  Put16(body, 0xE000 | (content.videoPid & 0x1FFF));  // PCR PID
  Put16(body, 0xF000);                                 // no program descriptors
  body.push_back(0x02);                                // MPEG-2 video
  Put16(body, 0xE000 | (content.videoPid & 0x1FFF));
  Put16(body, 0xF000);
  return Section(0x02, content.programNumber, version, body);
}

std::vector<std::uint8_t> BuildSdt(const SimStreamContent& content, std::uint8_t version) {
  std::vector<std::uint8_t> descriptor;
  descriptor.push_back(0x01);  // digital television service
  PutText(descriptor, content.providerName);
  PutText(descriptor, content.serviceName);

  std::vector<std::uint8_t> body;
  Put16(body, content.originalNetworkId);
  body.push_back(0xFF);  // reserved
  Put16(body, content.programNumber);
  body.push_back(0xFC);                                                   // no EIT flags
  const unsigned loopLength = 2 + static_cast<unsigned>(descriptor.size());
  Put16(body, 0x8000 | loopLength);                                      // running, not scrambled
  body.push_back(0x48);                                                  // service descriptor
  body.push_back(static_cast<std::uint8_t>(descriptor.size()));
  body.insert(body.end(), descriptor.begin(), descriptor.end());
  return Section(0x42, content.transportStreamId, version, body);
}
