#include "platform/sim/stream/sim_stream_writer.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "platform/sim/stream/ts_generator.h"
#include "platform/sim/stream/ts_source.h"

int WriteSimulatedStream(const SimCaptureConfig& config, const std::string& path) {
  if (config.packetLimit == 0) return EINVAL;
  TsGenerator* generator = nullptr;
  const std::unique_ptr<TsSource> source = MakeTsSource(config, &generator);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  const std::size_t perSample = static_cast<std::size_t>(std::max(config.packetsPerSample, 1));
  std::vector<std::uint8_t> buffer(perSample * 188);
  int error = 0;
  for (std::uint64_t sent = 0; sent < config.packetLimit && error == 0;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(perSample, config.packetLimit - sent));
    const std::size_t filled = source->Fill(buffer.data(), wanted);
    if (filled == 0) break;
    std::size_t done = 0;
    while (done < filled * 188) {
      const ssize_t n = ::write(fd, buffer.data() + done, filled * 188 - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = n < 0 ? errno : ENOSPC;
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    sent += filled;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}
