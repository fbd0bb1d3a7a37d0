// Writes the simulated card's stream straight to a file, exactly as the
// capture filter would deliver it with the same settings.
//
//   sim_ts_dump OUT [--packets N] [--sample-packets P] [--bit-rate BPS]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/bench_options.h"
#include "platform/sim/stream/sim_stream_writer.h"

constexpr char kUsage[] =
    "usage: sim_ts_dump OUT [--packets N] [--sample-packets P] [--bit-rate BPS]\n"
    "  OUT                 the file to write\n"
    "  --packets N         packets to write (default 100000)\n"
    "  --sample-packets P  packets per sample, as the capture filter delivers them\n"
    "  --bit-rate BPS      the stream's bit rate, which sets its clock references\n";

int main(int argc, char** argv) {
  const std::string out = argc >= 2 ? argv[1] : "";
  if (out == "--help" || out == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (out.empty() || out.starts_with("--")) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  SimCaptureConfig config;
  config.packetLimit = 100'000;
  ReadBenchOptions(argc, argv, 2, kUsage, [&](const std::string& key, const std::string& text) {
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (key == "--packets") config.packetLimit = value;
    else if (key == "--sample-packets") config.packetsPerSample = static_cast<int>(value);
    else if (key == "--bit-rate") config.bitRate = value;
    else return false;
    return true;
  });
  if (const int error = WriteSimulatedStream(config, out)) {
    std::fprintf(stderr, "%s: %s\n", out.c_str(), std::strerror(error));
    return 1;
  }
  return 0;
}
