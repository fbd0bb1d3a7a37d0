#include "recording/record_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/com/clock.h"
#include "platform/com/file_faults.h"

RecordFile::~RecordFile() { Close(); }

int RecordFile::Create(const std::string& path) {
  Close();
  int fd;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return errno;
  m_fd = fd;
  m_standardOutput = false;
  m_writeError = 0;
  m_bytes = 0;
  m_room = WriteFailureAfterBytes().value_or(UINT64_MAX);
  const auto stall = InjectedWriteStall();
  m_stallAt = stall ? std::optional<std::uint64_t>(stall->afterBytes) : std::nullopt;
  m_stallMs = stall ? stall->milliseconds : 0;
  return 0;
}

void RecordFile::UseStandardOutput() {
  Close();
  m_fd = STDOUT_FILENO;
  m_standardOutput = true;
  m_writeError = 0;
  m_bytes = 0;
  m_room = UINT64_MAX;
  m_stallAt.reset();
}

int RecordFile::Append(const void* data, std::size_t size) {
  if (m_fd < 0) return EBADF;
  if (m_writeError != 0) return m_writeError;
  if (m_stallAt && m_bytes + size > *m_stallAt) {
    m_stallAt.reset();
    Sleep(m_stallMs);
  }
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    ssize_t written;
    if (m_room == 0) {
      written = -1;
      errno = ENOSPC;
    } else {
      written = ::write(m_fd, bytes, static_cast<std::size_t>(std::min<std::uint64_t>(size, m_room)));
      if (written == 0) {  // no progress and no reason given: treat as a full device
        written = -1;
        errno = ENOSPC;
      }
    }
    if (written < 0) {
      if (errno == EINTR) continue;
      m_writeError = errno;
      CutPartialPacket();
      return m_writeError;
    }
    bytes += written;
    size -= static_cast<std::size_t>(written);
    m_bytes += static_cast<std::uint64_t>(written);
    if (m_room != UINT64_MAX) m_room -= static_cast<std::uint64_t>(written);
  }
  return 0;
}

// A write that failed part way through a packet leaves its head in the file;
// a reader would take it for the start of a packet. A pipe cannot be cut.
void RecordFile::CutPartialPacket() {
  const std::uint64_t whole = m_bytes / kPacket * kPacket;
  if (whole == m_bytes || m_standardOutput) return;
  if (::ftruncate(m_fd, static_cast<off_t>(whole)) == 0) m_bytes = whole;
}

std::optional<std::uint64_t> RecordFile::SizeBytes() const {
  if (m_fd < 0 || m_standardOutput) return std::nullopt;
  struct stat info;
  if (::fstat(m_fd, &info) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

int RecordFile::Close() {
  if (m_fd < 0) return 0;
  int error = 0;
  if (m_standardOutput) {
    m_fd = -1;
    return 0;
  }
  // What the disk has not taken yet fails here, on a share or a full quota.
  if (::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS) error = errno;
  if (const auto injected = InjectedCloseFailure(); injected && error == 0) error = *injected;
  if (::close(m_fd) != 0 && errno != EINTR && error == 0) error = errno;
  m_fd = -1;
  return error;
}
