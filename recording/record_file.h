// RecordFile: the open record file. Every byte handed to Append goes to the
// operating system at once; nothing is buffered here, so whatever was
// appended before a close, a failure or the end of the process is in the
// file. After the first failed write the file takes no more bytes: a
// recording never continues past a hole. A disk-full fault injected through
// platform/com/file_faults.h applies to each file from its creation.
//
// Not thread-safe: the recording state calls it under the sink lock only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class RecordFile {
 public:
  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile();

  // Creates the file (or truncates an existing one to 0 bytes), write access
  // only. Returns 0 or the errno of the failure; on failure nothing is open.
  int Create(const std::string& path);
  // Writes all of data, going on after short or interrupted writes. Returns 0,
  // or the errno of the first failure, which every later call returns too.
  int Append(const void* data, std::size_t size);
  // The file's length as the file system reports it, or none when not open.
  std::optional<std::uint64_t> SizeBytes() const;
  void Close();

  bool IsOpen() const { return m_fd >= 0; }
  int WriteError() const { return m_writeError; }

 private:
  int m_fd = -1;
  int m_writeError = 0;
  std::uint64_t m_room = UINT64_MAX;  // bytes the injected fault still lets through
};
