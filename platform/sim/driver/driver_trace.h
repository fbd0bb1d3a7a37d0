// The driver's trace file: one line per call into the driver, flushed at
// once so that a reader sees it while the program runs.
//
//   QuerySupported 13
//   Get 13 01 00
//   Set 0 E0 10 38 F2 00 00 00 00 00 00 04
//   Tune carrier=11700000 low=9750000 high=10600000 switch=10600000 pol=H sr=27500
//   Motor goto angle -14.31 from 0.00 to -14.31 (9.5 s)
//
// Record bytes are those passed in (Set) or handed back (Get), in hex; a
// call on another property set names that set's GUID after the operation.
// A motor line says what the dish's positioner did with a bus message.
// Thread-safe: lines from several threads never mix.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/com/guid.h"
#include "platform/media/bda_interfaces.h"

namespace sim {

class DriverTrace {
 public:
  // Creates (or empties) the file; none, with the reason, when it cannot.
  static std::unique_ptr<DriverTrace> Open(const std::string& path, std::string* error);
  ~DriverTrace();

  void Property(std::string_view operation, REFGUID set, uint32_t id, const uint8_t* bytes, size_t size);
  void Tune(const DvbsTuneParameters& parameters);
  void Motor(std::string_view move);

 private:
  explicit DriverTrace(std::FILE* file) : m_file(file) {}
  void WriteLine(const std::string& line);

  std::mutex m_mutex;
  std::FILE* const m_file;  // written under m_mutex
};

}  // namespace sim
