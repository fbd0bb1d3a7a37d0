// What the card delivers right now, for the capture filter that paces its
// output on it. A plain value; TunerDriver::DescribeStream() makes one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sim/sky/sky.h"

namespace sim {

// The card's output stream type, as extension property 13 sets it.
enum class OutputFormat : uint8_t { TransportStream, GenericStream };

// What comes out of the card.
enum class Delivery : uint8_t {
  None,             // no lock, or the output format cannot carry the carrier
  TransportStream,  // 188-byte packets
  GenericStream,    // the baseband frames' data field, byte for byte
};

struct StreamDescription {
  bool locked = false;
  OutputFormat output = OutputFormat::TransportStream;
  Delivery delivery = Delivery::None;
  // Bits per second of what is delivered; 0 with Delivery::None. On a
  // multiple-input-stream carrier, the selected stream's equal share.
  int64_t bitRate = 0;
  // The locked carrier (meaningful while locked): its stream type from the
  // baseband header, and the input stream delivered (0 on a single stream).
  StreamType carrierStreamType = StreamType::Transport;
  int inputStreamId = 0;
  size_t satelliteIndex = 0;
  size_t transponderIndex = 0;
  // Changes whenever what is delivered may have changed (tune, switch, dish,
  // input stream, output format), so a reader can start a new stream.
  uint64_t generation = 0;
};

}  // namespace sim
