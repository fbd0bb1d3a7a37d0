// How the simulated card's capture filter delivers its stream: the [stream]
// section of the card's FILE.
//
//   [stream]
//   replay = /path/recording.ts   deliver this file's packets (looped)
//                                 instead of a generated stream
//   paced = yes                   yes: at the carrier's bit rate;
//                                 no: as fast as downstream takes them
//   sample_packets = 348          188-byte packets per media sample
#pragma once

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
};

// Reads one [stream] section; errors are "line N: reason". The replay file
// must be named *.ts; it is opened by the capture filter when it runs.
std::optional<StreamOptions> ParseStreamOptions(const IniSection& section, std::string* error);

}  // namespace sim
