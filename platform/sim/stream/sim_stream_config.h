// What the simulated capture filter delivers and how fast. The card model
// changes the bit rate and content while the filter runs (a new tune); the
// rest is fixed when the filter is made.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/media/capture_ring_size.h"
#include "platform/sim/video/test_card.h"

// The one program of the generated stream, its service description and
// what its test card says.
struct SimStreamContent {
  std::uint16_t transportStreamId = 1;
  std::uint16_t originalNetworkId = 1;
  std::uint16_t programNumber = 1;
  std::uint16_t pmtPid = 0x100;
  std::uint16_t videoPid = 0x101;  // also carries the PCR
  std::string providerName = "Orvane";
  std::string serviceName = "Orvane Test Service";
  TestCardCaption caption{{"ORVANE RX40", "SIMULATED CARD", "TEST SIGNAL"}, 0};
};

enum class SimPacing {
  BitRate,  // samples leave at the bit rate, timed by the injectable clock
  Unpaced,  // as fast as the graph takes them (tests, benchmarks)
};

// What the card's front end gives the capture filter right now.
struct SimSignalFeed {
  bool delivering = true;     // false: no carrier locked, nothing to deliver
  std::uint64_t bitRate = 0;  // bits per second; 0 keeps the configured rate
  // The programme of the carrier delivered; none keeps the current one.
  std::optional<SimStreamContent> content;
};

struct SimCaptureConfig {
  SimPacing pacing = SimPacing::BitRate;
  std::uint64_t bitRate = 38'000'000;  // bits per second; also sets the PCR slope
  int packetsPerSample = 7;            // 188-byte packets per sample, at least 1
  int sampleBuffers = 16;              // samples in the pool
  std::uint64_t packetLimit = 0;       // 0: endless; else end of stream after this many
  std::size_t ringBytes = kDefaultCaptureRingBytes;  // the capture ring; 0: none (see capture_delivery.h)
  std::string replayPath;              // not empty: replay this .ts file instead
  // Not empty: replay these packets from memory, looped (benchmarks).
  std::shared_ptr<const std::vector<std::uint8_t>> replayPackets;
  bool replayLoop = true;              // start the file again at its end
  // Generated stream only: one continuity-counter jump every this many
  // packets of the stream (0: none), as a packet lost on the way would cause.
  std::uint64_t continuityErrorEvery = 0;
  SimStreamContent content;
  // When set, asked before every sample: the card delivers only while its
  // demodulator locks, at the carrier's bit rate.
  std::function<SimSignalFeed()> signal;
};
