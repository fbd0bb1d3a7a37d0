// Helpers shared by the simulated driver's tests: tune requests in MHz and
// records written out byte by byte.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/media/bda_interfaces.h"

namespace sim::testing {

inline DvbsTuneParameters TuneMHz(int frequency, int low, int high, int lnbSwitch, ::Polarisation polarisation,
                                  int symbolRateKs) {
  return {frequency * 1000, low * 1000, high * 1000, lnbSwitch * 1000, polarisation, symbolRateKs,
          BDA_SPECTRAL_INVERSION_NOT_SET};
}

// Little-endian 32-bit words, as the media information record lays them out.
inline std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
  std::vector<uint8_t> bytes;
  for (uint32_t w : words) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
  }
  return bytes;
}

// An input stream selection request: zeros but the identifier at byte 48.
inline std::vector<uint8_t> SelectStreamRecord(int32_t id) {
  std::vector<uint8_t> record(72, 0);
  for (int i = 0; i < 4; ++i) record[48 + i] = static_cast<uint8_t>(static_cast<uint32_t>(id) >> (8 * i));
  return record;
}

inline std::vector<uint8_t> DiseqcRecord(std::initializer_list<uint8_t> message) {
  std::vector<uint8_t> record(11, 0);
  size_t i = 0;
  for (uint8_t b : message) record[i++] = b;
  record[10] = static_cast<uint8_t>(message.size());
  return record;
}

}  // namespace sim::testing
