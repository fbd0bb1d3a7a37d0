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
//   write_stall_ms = 0            the write that carries a record file past
//   write_stall_after_bytes = 0   N bytes first waits MS (a disk spinning up)
//
// The replay file must exist and be readable when the FILE is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/media/capture_ring_size.h"
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
  std::uint32_t writeStallMs = 0;                     // 0: no fault
  std::uint64_t writeStallAfterBytes = 0;
  // The capture ring; not a key of the FILE (the programs' --ring-mb).
  std::size_t ringBytes = kDefaultCaptureRingBytes;
};

// Reads one [stream] section; errors are "line N: reason". The replay file
// must be named *.ts and be readable.
std::optional<StreamOptions> ParseStreamOptions(const IniSection& section, std::string* error);

}  // namespace sim
