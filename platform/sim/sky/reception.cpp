#include "platform/sim/sky/reception.h"

#include <algorithm>
#include <cmath>

#include "platform/sim/sky/carrier_rules.h"

namespace sim {
namespace {

int64_t Distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

int64_t ToKHz(double mhz) { return std::llround(mhz * 1000.0); }

int ClampPercent(double value) { return static_cast<int>(std::lround(std::clamp(value, 0.0, 100.0))); }

}  // namespace

std::optional<CommittedSwitch> ParseCommittedSwitch(const uint8_t* bytes, size_t length) {
  if (bytes == nullptr || length != 4) return std::nullopt;
  const bool framing = bytes[0] == 0xE0 || bytes[0] == 0xE1;  // first transmission or repeat
  const bool address = bytes[1] == 0x10 || bytes[1] == 0x11;  // any LNB/switcher, or LNB
  if (!framing || !address || bytes[2] != 0x38) return std::nullopt;
  return CommittedSwitch{bytes[3]};
}

LnbControl ApplyCommittedSwitch(LnbControl control, CommittedSwitch command) {
  // The switch state as the command's low nibble lays it out.
  const int current = (control.toneOn ? 0x1 : 0) |
                      (control.polarisation == Polarisation::Horizontal ? 0x2 : 0) |
                      (((control.port - 1) & 0x3) << 2);
  const int change = command.data >> 4;
  const int next = (current & ~change) | (command.data & change);
  control.toneOn = next & 0x1;
  control.polarisation = (next & 0x2) ? Polarisation::Horizontal : Polarisation::Vertical;
  control.port = 1 + ((next >> 2) & 0x3);
  return control;
}

LnbControl ApplyTuneToLnb(LnbControl control, const TuneRequest& request) {
  control.toneOn = request.highBand;
  control.polarisation = request.polarisation;
  return control;
}

FrontendTune TuneFrontend(const TuneRequest& request) {
  const int64_t assumedOscillator = request.lnbSwitchKHz;
  FrontendTune tune;
  tune.ifKHz = Distance(request.downlinkKHz, assumedOscillator);
  tune.ifInRange = tune.ifKHz >= kTunerMinIfKHz && tune.ifKHz <= kTunerMaxIfKHz;
  tune.oscillatorBelowDownlink = assumedOscillator <= request.downlinkKHz;
  tune.symbolRateKs = request.symbolRateKs;
  return tune;
}

int64_t ReceivedDownlinkKHz(const FrontendTune& tune, const Lnb& lnb, const LnbControl& control) {
  const int64_t oscillator =
      static_cast<int64_t>(control.toneOn ? lnb.highOscillatorMHz : lnb.lowOscillatorMHz) * 1000;
  return tune.oscillatorBelowDownlink ? oscillator + tune.ifKHz : oscillator - tune.ifKHz;
}

int64_t FrequencyToleranceKHz(int transponderSymbolRateKs) {
  return std::max<int64_t>(5000, transponderSymbolRateKs / 4);
}

bool SymbolRateMatches(int requestedKs, int transponderKs) {
  return transponderKs > 0 && 50 * Distance(requestedKs, transponderKs) <= transponderKs;
}

std::optional<size_t> FindTransponder(const Satellite& satellite, int64_t downlinkKHz,
                                      Polarisation polarisation, int symbolRateKs) {
  std::optional<size_t> best;
  int64_t bestOffset = 0;
  for (size_t i = 0; i < satellite.transponders.size(); ++i) {
    const Transponder& t = satellite.transponders[i];
    const int64_t offset = Distance(downlinkKHz, ToKHz(t.frequencyMHz));
    if (t.polarisation != polarisation || offset > FrequencyToleranceKHz(t.symbolRateKs) ||
        !SymbolRateMatches(symbolRateKs, t.symbolRateKs)) {
      continue;
    }
    if (!best || offset < bestOffset) {
      best = i;
      bestOffset = offset;
    }
  }
  return best;
}

double PointingLossDb(double pointingErrorDeg) {
  const double ratio = pointingErrorDeg / kBeamWidthDeg;
  return 12.0 * ratio * ratio;
}

double CarrierToNoiseDb(double pointingErrorDeg) {
  return kClearSkyCarrierToNoiseDb - PointingLossDb(pointingErrorDeg);
}

int StrengthPercent(double carrierToNoiseDb) { return ClampPercent(40.0 + 3.0 * carrierToNoiseDb); }

int QualityPercent(double carrierToNoiseDb) { return ClampPercent(5.0 * carrierToNoiseDb); }

SignalReport AssessSignal(const Transponder* transponder, double pointingErrorDeg) {
  if (transponder == nullptr) return {};
  const double cn = CarrierToNoiseDb(pointingErrorDeg);
  return {cn > RequiredCarrierToNoiseDb(*transponder), StrengthPercent(cn), QualityPercent(cn)};
}

Reception Receive(const Satellite& satellite, const Lnb& lnb, const TuneRequest& request,
                  const LnbControl& control, double pointingErrorDeg) {
  Reception reception;
  reception.tune = TuneFrontend(request);
  reception.downlinkKHz = ReceivedDownlinkKHz(reception.tune, lnb, control);
  reception.polarisation = control.polarisation;
  if (reception.tune.ifInRange) {
    reception.transponderIndex = FindTransponder(satellite, reception.downlinkKHz,
                                                 control.polarisation, request.symbolRateKs);
  }
  const Transponder* found =
      reception.transponderIndex ? &satellite.transponders[*reception.transponderIndex] : nullptr;
  reception.signal = AssessSignal(found, pointingErrorDeg);
  if (found && found->plsGold != request.plsGold) reception.signal.locked = false;
  return reception;
}

}  // namespace sim
