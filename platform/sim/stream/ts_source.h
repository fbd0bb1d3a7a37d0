// Where the simulated capture filter's packets come from: the generator or
// a replayed file. Called on the streaming thread only.
#pragma once

#include <cstddef>
#include <cstdint>

class TsSource {
 public:
  virtual ~TsSource() = default;
  // Writes up to `packets` whole 188-byte packets to out; returns how many
  // (0: the source has ended).
  virtual std::size_t Fill(std::uint8_t* out, std::size_t packets) = 0;
};

#include <memory>

#include "platform/sim/stream/sim_stream_config.h"

class TsGenerator;

// The source a configuration names: the memory replay when it has packets
// to replay, the file replay when it has a replay path, else a generator (also returned through generator, for later bit
// rate and content changes; null for a replay).
std::unique_ptr<TsSource> MakeTsSource(const SimCaptureConfig& config, TsGenerator** generator);
