#include "platform/sim/sky/sky.h"

namespace sim {
namespace {

using P = Polarisation;
using M = Modulation;
using R = CodeRate;
constexpr DeliverySystem S = DeliverySystem::DvbS;
constexpr DeliverySystem S2 = DeliverySystem::DvbS2;

Satellite Sat235E() {
  return {"Sat 23.5E", 23.5, {
      {.frequencyMHz = 10758, .polarisation = P::Vertical, .symbolRateKs = 22000, .system = S, .codeRate = R::R5_6},
      {.frequencyMHz = 10921, .polarisation = P::Horizontal, .symbolRateKs = 22000, .system = S2,
       .modulation = M::Psk8, .codeRate = R::R3_4, .rollOff = RollOff::R0_35, .spectralInversion = true},
      {.frequencyMHz = 11034, .polarisation = P::Horizontal, .symbolRateKs = 27500, .system = S, .codeRate = R::R3_4},
      {.frequencyMHz = 11362, .polarisation = P::Horizontal, .symbolRateKs = 22000, .system = S2,
       .modulation = M::Psk8, .codeRate = R::R2_3, .rollOff = RollOff::R0_20, .pilots = true},
      {.frequencyMHz = 11523, .polarisation = P::Vertical, .symbolRateKs = 22000, .system = S2,
       .modulation = M::Qpsk, .codeRate = R::R2_3, .rollOff = RollOff::R0_25, .pilots = true, .shortFrame = true},
      {.frequencyMHz = 11597, .polarisation = P::Vertical, .symbolRateKs = 22000, .system = S, .codeRate = R::R5_6},
      {.frequencyMHz = 11720, .polarisation = P::Horizontal, .symbolRateKs = 27500, .system = S2,
       .modulation = M::Psk8, .codeRate = R::R3_4, .rollOff = RollOff::R0_20, .pilots = true},
      {.frequencyMHz = 12012, .polarisation = P::Vertical, .symbolRateKs = 30000, .system = S2,
       .modulation = M::Apsk16, .codeRate = R::R3_4, .rollOff = RollOff::R0_20, .pilots = true},
      {.frequencyMHz = 12168, .polarisation = P::Horizontal, .symbolRateKs = 27500, .system = S2,
       .modulation = M::Psk8, .codeRate = R::R3_5, .rollOff = RollOff::R0_20, .pilots = true,
       .inputStreamIds = {1, 2, 10}},
      {.frequencyMHz = 12285, .polarisation = P::Vertical, .symbolRateKs = 27500, .system = S2,
       .modulation = M::Psk8, .codeRate = R::R2_3, .rollOff = RollOff::R0_20, .pilots = true,
       .streamType = StreamType::GenericPacketized, .ccm = false, .issy = true, .npd = true},
      {.frequencyMHz = 12441, .polarisation = P::Vertical, .symbolRateKs = 2000, .system = S, .codeRate = R::R3_4},
      {.frequencyMHz = 12606, .polarisation = P::Vertical, .symbolRateKs = 36000, .system = S2,
       .modulation = M::Apsk32, .codeRate = R::R3_4, .rollOff = RollOff::R0_20, .pilots = true},
  }};
}

Satellite Sat160E() {
  return {"Sat 16.0E", 16.0, {
      {.frequencyMHz = 10972, .polarisation = P::Vertical, .symbolRateKs = 29900, .system = S2,
       .modulation = M::Psk8, .codeRate = R::R2_3, .rollOff = RollOff::R0_35},
      {.frequencyMHz = 11283, .polarisation = P::Horizontal, .symbolRateKs = 27500, .system = S, .codeRate = R::R3_4},
      {.frequencyMHz = 11785, .polarisation = P::Vertical, .symbolRateKs = 30000, .system = S2,
       .modulation = M::Qpsk, .codeRate = R::R3_4, .rollOff = RollOff::R0_25, .pilots = true,
       .streamType = StreamType::GenericContinuous, .ccm = false},
      {.frequencyMHz = 12540, .polarisation = P::Horizontal, .symbolRateKs = 6111, .system = S2,
       .modulation = M::Apsk16, .codeRate = R::R2_3, .rollOff = RollOff::R0_20, .pilots = true,
       .shortFrame = true, .streamType = StreamType::GenericPacketized, .npd = true},
  }};
}

Satellite Sat90E() {
  return {"Sat 9.0E", 9.0, {
      {.frequencyMHz = 11060, .polarisation = P::Horizontal, .symbolRateKs = 30000, .system = S2,
       .modulation = M::Psk8, .codeRate = R::R5_6, .rollOff = RollOff::R0_20, .pilots = true},
      {.frequencyMHz = 11976, .polarisation = P::Vertical, .symbolRateKs = 27500, .system = S, .codeRate = R::R2_3},
      {.frequencyMHz = 12322, .polarisation = P::Horizontal, .symbolRateKs = 45000, .system = S2,
       .modulation = M::Apsk32, .codeRate = R::R4_5, .rollOff = RollOff::R0_20, .pilots = true},
  }};
}

Satellite Sat50W() {
  return {"Sat 5.0W", -5.0, {
      {.frequencyMHz = 11105, .polarisation = P::Vertical, .symbolRateKs = 27500, .system = S, .codeRate = R::R7_8},
      {.frequencyMHz = 11856, .polarisation = P::Horizontal, .symbolRateKs = 27500, .system = S2,
       .modulation = M::Psk8, .codeRate = R::R2_3, .rollOff = RollOff::R0_35, .spectralInversion = true},
  }};
}

}  // namespace

Sky DefaultSky() {
  Sky sky;
  sky.satellites = {Sat235E(), Sat160E(), Sat90E(), Sat50W()};
  sky.site = {50.0, 8.0};
  sky.lnb = {9750, 10600};
  sky.pointedSatelliteIndex = 0;
  return sky;
}

}  // namespace sim
