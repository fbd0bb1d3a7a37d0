// RecordFile: the open record file, or standard output for a recording piped
// into another program. Every byte handed to Append goes to the operating
// system at once; nothing is buffered here, so whatever was appended before
// a close, a failure or the end of the process is in the file. After the
// first failed write the file takes no more bytes (a recording never goes on
// past a hole), and a partial packet the failure left at its end is cut off:
// the file always holds whole 188-byte packets. Close flushes the file to
// the disk and reports what that, or the close itself, found (a network
// share or a quota may report a failed write only then).
//
// Injected faults (platform/com/file_faults.h) apply to each file from its
// creation. Not thread-safe: the recording state calls it from one thread
// at a time, under the sink lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class RecordFile {
 public:
  static constexpr std::size_t kPacket = 188;

  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile();

  // Creates the file (or truncates an existing one to 0 bytes), write access
  // only. Returns 0 or the errno of the failure; on failure nothing is open.
  int Create(const std::string& path);
  // Writes to standard output (not closed by Close, only flushed).
  void UseStandardOutput();
  // Writes all of data, going on after short or interrupted writes. Returns 0,
  // or the errno of the first failure, which every later call returns too.
  // A reader that closed the pipe is EPIPE.
  int Append(const void* data, std::size_t size);
  // Bytes in the file: those written, less a partial packet cut off.
  std::uint64_t Bytes() const { return m_bytes; }
  // The file's length as the file system reports it (what Bytes says, unless
  // someone else changed the file), or none when not open or a pipe.
  std::optional<std::uint64_t> SizeBytes() const;
  // Flushes and closes; 0, or the errno of what failed (an earlier write
  // failure is not repeated here). Nothing is open afterwards.
  int Close();

  bool IsOpen() const { return m_fd >= 0; }
  int WriteError() const { return m_writeError; }

 private:
  void CutPartialPacket();

  int m_fd = -1;
  bool m_standardOutput = false;
  int m_writeError = 0;
  std::uint64_t m_bytes = 0;
  std::uint64_t m_room = UINT64_MAX;  // bytes the injected fault still lets through
  std::optional<std::uint64_t> m_stallAt;
  std::uint32_t m_stallMs = 0;
};
