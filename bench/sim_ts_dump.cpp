// Writes the simulated card's stream straight to a file, exactly as the
// capture filter would deliver it with the same settings.
//
//   sim_ts_dump OUT [--packets N] [--sample-packets P] [--bit-rate BPS]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sim/stream/sim_stream_writer.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT [--packets N] [--sample-packets P] [--bit-rate BPS]\n", argv[0]);
    return 2;
  }
  SimCaptureConfig config;
  config.packetLimit = 100'000;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    const unsigned long long value = std::strtoull(argv[i + 1], nullptr, 10);
    if (key == "--packets") config.packetLimit = value;
    else if (key == "--sample-packets") config.packetsPerSample = static_cast<int>(value);
    else if (key == "--bit-rate") config.bitRate = value;
    else {
      std::fprintf(stderr, "unknown option %s\n", key.c_str());
      return 2;
    }
  }
  if (const int error = WriteSimulatedStream(config, argv[1])) {
    std::fprintf(stderr, "%s: %s\n", argv[1], std::strerror(error));
    return 1;
  }
  return 0;
}
