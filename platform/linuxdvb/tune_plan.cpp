#include "platform/linuxdvb/tune_plan.h"

#include <cstdlib>

namespace linuxdvb {
namespace {

dtv_property Property(std::uint32_t cmd, std::uint32_t value) {
  dtv_property p{};
  p.cmd = cmd;
  p.u.data = value;
  return p;
}

std::optional<LnbVoltage> VoltageFor(Polarisation polarisation) {
  switch (polarisation) {
    case BDA_POLARISATION_LINEAR_H:
    case BDA_POLARISATION_CIRCULAR_L: return LnbVoltage::V18;
    case BDA_POLARISATION_LINEAR_V:
    case BDA_POLARISATION_CIRCULAR_R: return LnbVoltage::V13;
    default: return std::nullopt;
  }
}

fe_spectral_inversion InversionFor(SpectralInversion inversion) {
  switch (inversion) {
    case BDA_SPECTRAL_INVERSION_NORMAL: return INVERSION_OFF;
    case BDA_SPECTRAL_INVERSION_INVERTED: return INVERSION_ON;
    default: return INVERSION_AUTO;
  }
}

}  // namespace

std::optional<TuneTarget> PlanTune(const DvbsTuneParameters& request, std::string* reason) {
  const auto voltage = VoltageFor(request.polarisation);
  if (!voltage) {
    *reason = "the request has no polarisation";
    return std::nullopt;
  }
  if (request.carrierFrequencyKHz <= 0 || request.symbolRate <= 0) {
    *reason = "frequency and symbol rate must be positive";
    return std::nullopt;
  }
  if (request.lnbSwitchKHz <= 0) {
    *reason = "no LNB oscillator brings " + std::to_string(request.carrierFrequencyKHz) +
              " kHz into the tuner's range";
    return std::nullopt;
  }
  TuneTarget target;
  target.voltage = *voltage;
  target.tone = request.lnbSwitchKHz == request.highOscillatorKHz ? Tone::On : Tone::Off;
  target.ifKHz = static_cast<std::uint32_t>(std::llabs(static_cast<long long>(request.carrierFrequencyKHz) -
                                                       request.lnbSwitchKHz));
  target.symbolRate = static_cast<std::uint32_t>(request.symbolRate) * 1000u;
  target.inversion = InversionFor(request.inversion);
  return target;
}

std::vector<dtv_property> TuneProperties(const TuneTarget& target, fe_delivery_system system,
                                         std::optional<std::uint32_t> streamId) {
  const bool s2 = system == SYS_DVBS2;
  std::vector<dtv_property> list{
      Property(DTV_CLEAR, 0),
      Property(DTV_DELIVERY_SYSTEM, system),
      Property(DTV_FREQUENCY, target.ifKHz),
      Property(DTV_SYMBOL_RATE, target.symbolRate),
      Property(DTV_INNER_FEC, FEC_AUTO),
      Property(DTV_INVERSION, target.inversion),
      Property(DTV_MODULATION, s2 ? QAM_AUTO : QPSK),
      Property(DTV_ROLLOFF, s2 ? ROLLOFF_AUTO : ROLLOFF_35),
  };
  if (s2) {
    list.push_back(Property(DTV_PILOT, PILOT_AUTO));
    list.push_back(Property(DTV_STREAM_ID, streamId.value_or(NO_STREAM_ID_FILTER)));
  }
  list.push_back(Property(DTV_TUNE, 0));
  return list;
}

}  // namespace linuxdvb
