#include "settings/file_contents.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor on every path out of a function.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now so that a failing close (a late write error) is seen.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

// The file a write must replace: the path itself, or a symbolic link's target.
int ResolveTarget(const std::string& path, std::string& target) {
  struct stat linkInfo {};
  if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return errno;
    target = resolved;
  } else {
    target = path;
  }
  return 0;
}

std::string TemporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

int WriteTemporary(const std::string& temporary, std::string_view bytes, const struct stat* existing) {
  FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                           existing ? 0600 : 0666));
  if (!fd.valid()) return errno;
  if (int error = WriteAll(fd.get(), bytes)) return error;
  if (existing && ::fchmod(fd.get(), existing->st_mode & 07777) != 0) return errno;
  if (::fsync(fd.get()) != 0) return errno;
  return fd.Close();
}

// Rewrites an existing file through its own descriptor.
int RewriteInPlace(const std::string& target, std::string_view bytes) {
  FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
  if (!fd.valid()) return errno;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return errno;
  const auto size = static_cast<off_t>(bytes.size());
  if (size > info.st_size) {
    if (int error = ::posix_fallocate(fd.get(), 0, size)) return error;
  }
  if (int error = WriteAll(fd.get(), bytes)) return error;
  if (::ftruncate(fd.get(), size) != 0) return errno;
  if (::fsync(fd.get()) != 0) return errno;
  return fd.Close();
}

}  // namespace

int ReadFileContents(const std::string& path, std::string& out) {
  out.clear();
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return errno;
  char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      out.clear();
      return error;
    }
    out.append(buffer, static_cast<size_t>(got));
  }
}

int ReplaceFileContents(const std::string& path, std::string_view bytes) {
  std::string target;
  if (int error = ResolveTarget(path, target)) return error;

  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (!exists && errno != ENOENT) return errno;
  if (exists) {
    // A rename would succeed even on a read-only file; refuse as a direct write would.
    FileDescriptor probe(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!probe.valid()) return errno;
  }

  const std::string temporary = TemporaryNameFor(target);
  if (int error = WriteTemporary(temporary, bytes, exists ? &info : nullptr)) {
    ::unlink(temporary.c_str());
    if (exists && (error == EACCES || error == EPERM)) return RewriteInPlace(target, bytes);
    return error;
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return error;
  }
  return 0;
}
