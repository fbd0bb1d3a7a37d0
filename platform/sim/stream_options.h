// How the simulated card's capture filter delivers its stream: the [stream]
// section of the card's FILE.
//
//   [stream]
//   replay = /path/recording.ts   deliver this file's packets (looped)
//                                 instead of a generated stream
//   paced = yes                   yes: at the carrier's bit rate;
//                                 no: as fast as downstream takes them
//   sample_packets = 348          188-byte packets per media sample
//   continuity_error_every = 0    generated stream: one continuity-counter
//                                 jump every N packets (0: none)
//   write_fails_after_bytes = 0   each record file takes N bytes, then a
//                                 write fails as on a full disk (0: never)
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/sim/sim_ini.h"

namespace sim {

struct StreamOptions {
  static constexpr unsigned kDefaultSamplePackets = 348;  // 65424 bytes: fits 64 KiB
  static constexpr unsigned kMaxSamplePackets = 5577;     // 1 MiB

  std::string replayFile;  // empty: generate the stream
  bool paced = true;
  unsigned samplePackets = kDefaultSamplePackets;  // 1 .. kMaxSamplePackets
  std::uint64_t continuityErrorEvery = 0;          // 0: no fault
  std::optional<std::uint64_t> writeFailsAfterBytes;  // none: no fault
};

// Reads one [stream] section; errors are "line N: reason". The replay file
// must be named *.ts; it is opened by the capture filter when it runs.
std::optional<StreamOptions> ParseStreamOptions(const IniSection& section, std::string* error);

}  // namespace sim
