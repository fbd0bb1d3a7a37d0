#include "recording/record_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/com/file_faults.h"

RecordFile::~RecordFile() { Close(); }

int RecordFile::Create(const std::string& path) {
  Close();
  m_writeError = 0;
  int fd;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return errno;
  m_fd = fd;
  m_room = WriteFailureAfterBytes().value_or(UINT64_MAX);
  return 0;
}

int RecordFile::Append(const void* data, std::size_t size) {
  if (m_fd < 0) return EBADF;
  if (m_writeError != 0) return m_writeError;
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    if (m_room == 0) {
      m_writeError = ENOSPC;
      return m_writeError;
    }
    const ssize_t written = ::write(m_fd, bytes, static_cast<std::size_t>(std::min<std::uint64_t>(size, m_room)));
    if (written < 0) {
      if (errno == EINTR) continue;
      m_writeError = errno;
      return m_writeError;
    }
    if (written == 0) {  // no progress and no reason given: treat as a full device
      m_writeError = ENOSPC;
      return m_writeError;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
    if (m_room != UINT64_MAX) m_room -= static_cast<std::uint64_t>(written);
  }
  return 0;
}

std::optional<std::uint64_t> RecordFile::SizeBytes() const {
  if (m_fd < 0) return std::nullopt;
  struct stat info;
  if (::fstat(m_fd, &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

void RecordFile::Close() {
  if (m_fd < 0) return;
  ::close(m_fd);  // no retry on EINTR: the descriptor is gone either way on Linux
  m_fd = -1;
}
