// The parameters each carrier last locked with, kept in a small text file in
// the program's data folder, so that a carrier found once by a long search
// locks at the first attempt the next time. One line per carrier:
//   11362000 H 22000 DVB-S2 8PSK FEC 2/3 roll-off 0.20 pilots auto
// (downlink kHz, polarisation, kS/s, then the attempt as DescribeAttempt
// writes it). Lines that do not read are skipped; the newest entry of a
// carrier wins and the file keeps at most kMaxEntries. Written by one atomic
// replacement. Not thread-safe: the frontend's mutex guards it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/linuxdvb/tune_plan.h"

namespace linuxdvb {

struct CarrierKey {
  std::int64_t downlinkKHz = 0;
  char polarisation = 'H';  // H, V, L or R
  std::int64_t symbolRateKs = 0;
  bool operator==(const CarrierKey&) const = default;
};

CarrierKey KeyOf(const DvbsTuneParameters& request);

class CarrierMemory {
 public:
  static constexpr std::size_t kMaxEntries = 2000;

  // An empty path remembers nothing.
  explicit CarrierMemory(std::string path) : m_path(std::move(path)) {}

  std::optional<TuneAttempt> Find(const CarrierKey& key) const;
  // False when the file could not be written (the reason is logged by the caller).
  bool Remember(const CarrierKey& key, const TuneAttempt& attempt, std::string* error);

 private:
  const std::string m_path;
};

}  // namespace linuxdvb
