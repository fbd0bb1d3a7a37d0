// An independent reader of transport streams for the tests: it checks what
// a receiver relies on (sync bytes, continuity counters, section CRCs) with
// its own bit-by-bit CRC, and collects the program structure it finds.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TsReport {
  std::uint64_t packets = 0;
  std::uint64_t syncErrors = 0;
  std::uint64_t continuityErrors = 0;
  std::uint64_t crcErrors = 0;
  std::uint64_t sections = 0;
  std::uint64_t pcrs = 0;
  std::uint64_t pcrBackwards = 0;
  std::map<std::uint16_t, std::uint64_t> perPid;
  int pmtPid = -1;
  int videoPid = -1;
  std::string serviceName;
  bool trailingBytes = false;
};

inline std::uint32_t BitwiseCrc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    for (int bit = 7; bit >= 0; --bit) {
      const bool in = ((data[i] >> bit) & 1) != 0;
      const bool top = (crc & 0x80000000u) != 0;
      crc <<= 1;
      if (in != top) crc ^= 0x04C11DB7u;
    }
  }
  return crc;
}

inline TsReport ReadTs(const std::vector<std::uint8_t>& bytes) {
  TsReport report;
  std::map<std::uint16_t, int> lastCounter;
  std::uint64_t lastPcr = 0;
  report.trailingBytes = bytes.size() % 188 != 0;
  for (std::size_t at = 0; at + 188 <= bytes.size(); at += 188) {
    const std::uint8_t* p = &bytes[at];
    ++report.packets;
    if (p[0] != 0x47) {
      ++report.syncErrors;
      continue;
    }
    const std::uint16_t pid = static_cast<std::uint16_t>(((p[1] & 0x1F) << 8) | p[2]);
    ++report.perPid[pid];
    const int adaptation = (p[3] >> 4) & 3;
    const int counter = p[3] & 0x0F;
    if (adaptation & 1) {
      const auto last = lastCounter.find(pid);
      if (last != lastCounter.end() && ((last->second + 1) & 0x0F) != counter) ++report.continuityErrors;
      lastCounter[pid] = counter;
    }
    std::size_t payload = 4;
    if (adaptation & 2) {
      if (p[4] >= 7 && (p[5] & 0x10)) {
        const std::uint64_t base = (std::uint64_t(p[6]) << 25) | (p[7] << 17) | (p[8] << 9) | (p[9] << 1) | (p[10] >> 7);
        const std::uint64_t pcr = base * 300 + (((p[10] & 1) << 8) | p[11]);
        if (report.pcrs > 0 && pcr < lastPcr) ++report.pcrBackwards;
        lastPcr = pcr;
        ++report.pcrs;
      }
      payload = 5 + p[4];
    }
    const bool unitStart = (p[1] & 0x40) != 0;
    const bool isSection = pid == 0 || pid == 0x11 || pid == report.pmtPid;
    if (!isSection || !unitStart || payload >= 188) continue;
    const std::uint8_t* section = p + payload + 1 + p[payload];
    const std::size_t length = ((section[1] & 0x0F) << 8) | section[2];
    if (section + 3 + length > p + 188) continue;  // sections here fit in one packet
    ++report.sections;
    if (BitwiseCrc32(section, 3 + length) != 0) ++report.crcErrors;
    if (section[0] == 0x00 && length >= 13) report.pmtPid = ((section[10] & 0x1F) << 8) | section[11];
    if (section[0] == 0x02 && length >= 18) report.videoPid = ((section[13] & 0x1F) << 8) | section[14];
    if (section[0] == 0x42 && length >= 20) {
      const std::uint8_t* descriptor = section + 16;  // first service's first descriptor
      if (descriptor[0] == 0x48) {
        const std::uint8_t* provider = descriptor + 3;
        const std::uint8_t* name = provider + 1 + provider[0];
        report.serviceName.assign(reinterpret_cast<const char*>(name + 1), name[0]);
      }
    }
  }
  return report;
}
