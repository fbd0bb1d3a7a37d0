#include "platform/sim/driver/driver_trace.h"

#include <cerrno>
#include <cstring>

namespace sim {
namespace {

const char* PolarisationLetter(::Polarisation polarisation) {
  switch (polarisation) {
    case BDA_POLARISATION_LINEAR_H: return "H";
    case BDA_POLARISATION_LINEAR_V: return "V";
    case BDA_POLARISATION_CIRCULAR_L: return "L";
    case BDA_POLARISATION_CIRCULAR_R: return "R";
    default: return "?";
  }
}

}  // namespace

std::unique_ptr<DriverTrace> DriverTrace::Open(const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (!file) {
    *error = path + ": cannot write the trace file: " + std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<DriverTrace>(new DriverTrace(file));
}

DriverTrace::~DriverTrace() { std::fclose(m_file); }

void DriverTrace::Property(std::string_view operation, REFGUID set, uint32_t id, const uint8_t* bytes,
                           size_t size) {
  std::string line(operation);
  if (!(set == KSPROPSETID_TunerExtension)) line += " " + FormatGuid(set);
  line += " " + std::to_string(id);
  for (size_t i = 0; bytes && i < size; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
    line += hex;
  }
  WriteLine(line);
}

void DriverTrace::Tune(const DvbsTuneParameters& p) {
  WriteLine("Tune carrier=" + std::to_string(p.carrierFrequencyKHz) + " low=" + std::to_string(p.lowOscillatorKHz) +
            " high=" + std::to_string(p.highOscillatorKHz) + " switch=" + std::to_string(p.lnbSwitchKHz) +
            " pol=" + PolarisationLetter(p.polarisation) + " sr=" + std::to_string(p.symbolRate));
}

void DriverTrace::Motor(std::string_view move) { WriteLine("Motor " + std::string(move)); }

void DriverTrace::WriteLine(const std::string& line) {
  std::lock_guard lock(m_mutex);
  std::fputs(line.c_str(), m_file);
  std::fputc('\n', m_file);
  std::fflush(m_file);
}

}  // namespace sim
