// What the fuzz targets share: a failed property aborts (libFuzzer keeps
// the input), and files the code under test opens live in memory, so no
// disk is touched however many inputs run.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) : m_fd(memfd_create("fuzz_input", MFD_CLOEXEC)) {
    Check(m_fd >= 0);
    for (size_t written = 0; written < bytes.size();) {
      const ssize_t n = ::write(m_fd, bytes.data() + written, bytes.size() - written);
      Check(n > 0);
      written += static_cast<size_t>(n);
    }
  }
  ~MemoryFile() { ::close(m_fd); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  std::string Path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

 private:
  int m_fd;
};

}  // namespace fuzz
