#include "platform/sim/stream/ts_file_replay.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr std::size_t kPacket = 188;
}

TsFileReplay::TsFileReplay(const std::string& path, bool loop) : m_loop(loop) {
  m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (m_fd < 0) m_openError = errno;
}

TsFileReplay::~TsFileReplay() {
  if (m_fd >= 0) ::close(m_fd);
}

std::size_t TsFileReplay::ReadPackets(std::uint8_t* out, std::size_t packets) {
  const std::size_t wanted = packets * kPacket;
  std::size_t got = 0;
  while (got < wanted) {
    const ssize_t n = ::read(m_fd, out + got, wanted - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  const std::size_t whole = got / kPacket;
  if (got % kPacket != 0) ::lseek(m_fd, 0, SEEK_END);  // a partial packet means the file ended
  return whole;
}

std::size_t TsFileReplay::Fill(std::uint8_t* out, std::size_t packets) {
  if (m_fd < 0) return 0;
  std::size_t filled = ReadPackets(out, packets);
  if (filled == 0 && m_loop && ::lseek(m_fd, 0, SEEK_SET) == 0) filled = ReadPackets(out, packets);
  return filled;
}
