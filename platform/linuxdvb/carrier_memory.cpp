#include "platform/linuxdvb/carrier_memory.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

namespace linuxdvb {
namespace {

struct Entry {
  CarrierKey key;
  TuneAttempt attempt;
};

std::optional<Entry> ParseLine(const std::string& line) {
  std::istringstream in(line);
  Entry entry;
  std::string polarisation;
  if (!(in >> entry.key.downlinkKHz >> polarisation >> entry.key.symbolRateKs) || polarisation.size() != 1 ||
      std::string("HVLR").find(polarisation[0]) == std::string::npos)
    return std::nullopt;
  entry.key.polarisation = polarisation[0];
  std::string rest;
  std::getline(in, rest);
  const auto attempt = ParseAttempt(rest);
  if (!attempt) return std::nullopt;
  entry.attempt = *attempt;
  return entry;
}

std::vector<Entry> ReadEntries(const std::string& path) {
  std::vector<Entry> entries;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);)
    if (const auto entry = ParseLine(line)) entries.push_back(*entry);
  return entries;
}

}  // namespace

CarrierKey KeyOf(const DvbsTuneParameters& request) {
  char polarisation = 'H';
  switch (request.polarisation) {
    case BDA_POLARISATION_LINEAR_V: polarisation = 'V'; break;
    case BDA_POLARISATION_CIRCULAR_L: polarisation = 'L'; break;
    case BDA_POLARISATION_CIRCULAR_R: polarisation = 'R'; break;
    default: break;
  }
  return {request.carrierFrequencyKHz, polarisation, request.symbolRate};
}

std::optional<TuneAttempt> CarrierMemory::Find(const CarrierKey& key) const {
  if (m_path.empty()) return std::nullopt;
  std::optional<TuneAttempt> found;
  for (const Entry& entry : ReadEntries(m_path))
    if (entry.key == key) found = entry.attempt;
  return found;
}

bool CarrierMemory::Remember(const CarrierKey& key, const TuneAttempt& attempt, std::string* error) {
  if (m_path.empty()) return true;
  std::vector<Entry> entries;
  for (Entry& entry : ReadEntries(m_path))
    if (!(entry.key == key)) entries.push_back(std::move(entry));
  entries.push_back({key, attempt});
  if (entries.size() > kMaxEntries) entries.erase(entries.begin(), entries.end() - kMaxEntries);

  const std::string temporary = m_path + ".new";
  {
    std::ofstream file(temporary, std::ios::trunc);
    for (const Entry& e : entries)
      file << e.key.downlinkKHz << ' ' << e.key.polarisation << ' ' << e.key.symbolRateKs << ' '
           << DescribeAttempt(e.attempt) << '\n';
    file.flush();
    if (!file) {
      *error = "cannot write " + temporary + ": " + std::strerror(errno);
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), m_path.c_str()) != 0) {
    *error = "cannot replace " + m_path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace linuxdvb
