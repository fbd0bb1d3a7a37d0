// What the simulated card sends once its capture filter delivers a locked
// carrier: its generated stream from the first packet, sample by sample, so
// that a recording can be compared with it byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/driver/bit_rate.h"
#include "platform/sim/driver/stream_description.h"
#include "platform/sim/programme.h"
#include "platform/sim/sim_file.h"
#include "platform/sim/stream/ts_generator.h"
#include "platform/sim/stream_options.h"

inline constexpr std::size_t kSimSampleBytes = sim::StreamOptions::kDefaultSamplePackets * 188;

// A simulated card's sky to record from: one satellite, which the dish faces,
// with one DVB-S2 carrier (satellite 0, transponder 0), paced at its bit rate.
inline constexpr char kOneCarrierSky[] =
    "[satellite 1]\n"
    "name = Sat 23.5E\n"
    "position = 23.5\n"
    "tp = 11362 H 22000 S2 8PSK 2/3 rolloff=0.20 pilots=on\n";

// The first `bytes` bytes (whole samples) the card sends for the stream.
inline std::vector<std::uint8_t> SimulatedStreamBytes(const sim::Sky& sky, const sim::StreamDescription& stream,
                                                      std::size_t bytes) {
  constexpr std::size_t kPackets = sim::StreamOptions::kDefaultSamplePackets;
  TsGenerator generator(SimStreamContent{}, 38'000'000, kPackets);
  generator.SetBitRate(static_cast<std::uint64_t>(stream.bitRate));
  generator.SetContent(sim::ProgrammeFor(sky, stream));
  std::vector<std::uint8_t> sent(bytes);
  for (std::size_t at = 0; at + kSimSampleBytes <= sent.size(); at += kSimSampleBytes) generator.Fill(&sent[at], kPackets);
  return sent;
}

// How the card describes a carrier of its sky once locked on it (its first
// input stream on a multiple-input-stream carrier).
inline sim::StreamDescription LockedCarrier(const sim::Sky& sky, std::size_t satellite, std::size_t transponder) {
  const sim::Transponder& carrier = sky.satellites.at(satellite).transponders.at(transponder);
  sim::StreamDescription stream;
  stream.locked = true;
  stream.delivery = sim::Delivery::TransportStream;
  stream.satelliteIndex = satellite;
  stream.transponderIndex = transponder;
  stream.inputStreamId = carrier.inputStreamIds.empty() ? 0 : carrier.inputStreamIds.front();
  stream.bitRate =
      sim::UsefulBitRate(carrier) / static_cast<std::int64_t>(std::max<std::size_t>(1, carrier.inputStreamIds.size()));
  return stream;
}

// Whether bytes are the start of what the card of FILE text sends on the
// first carrier of its first satellite (the text must parse).
inline ::testing::AssertionResult IsWhatTheCardSent(const std::string& cardText, const std::vector<std::uint8_t>& bytes) {
  std::string error;
  const auto config = sim::ParseSimText(cardText, &error);
  if (!config) return ::testing::AssertionFailure() << "the card's FILE: " << error;
  const std::size_t samples = (bytes.size() + kSimSampleBytes - 1) / kSimSampleBytes;
  const auto sent = SimulatedStreamBytes(config->sky, LockedCarrier(config->sky, 0, 0), samples * kSimSampleBytes);
  if (!std::equal(bytes.begin(), bytes.end(), sent.begin()))
    return ::testing::AssertionFailure() << "the " << bytes.size() << " bytes differ from what the card sent";
  return ::testing::AssertionSuccess();
}
