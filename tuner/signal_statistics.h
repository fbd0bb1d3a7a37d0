// One reading of the tuner's signal statistics (quality, strength, lock,
// and the link margin where the tuner measures it) through the tuner
// filter's control node, for the window's signal monitor and for rx40ctl.
// The caller holds the driver mutex.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/media/bda_interfaces.h"

struct TunerContext;

struct SignalReading {
  std::uint8_t quality = 0;
  std::uint8_t strength = 0;
  std::uint8_t lockByte = 255;  // locked only when 1
  std::optional<double> marginDb;  // when the tuner reports its link margin
  SignalMeasurements measured;     // what the driver measures, where it does
  bool Locked() const { return lockByte == 1; }
};

enum class SignalReadOutcome {
  Read,
  Failed,      // no tuner, no control node, or the quality read failed
  NoTopology,  // the tuner filter offers no topology: it never will
};

SignalReadOutcome ReadSignalStatistics(TunerContext& context, SignalReading* reading);
