#pragma once
// Reception model of the simulated card: from a tune request and the LNB
// supply to the transponder received and its signal. Pure functions.
//
// The chain, as on real hardware:
//  1. The driver sets the LNB supply on every tune: 22 kHz tone on when the
//     request asks for the high band, voltage from the request's
//     polarisation. A DiSEqC committed-switch message sets
//     the same tone and voltage bits (and the port). Whichever came last
//     holds: the tuning action sends the switch message before the tune
//     request, so the request decides band and polarisation.
//  2. The tuner goes to IF = |downlink - LO|, with the LO the request chose
//     for its band (its LNB switch value). The tuner covers 950 to 2150 MHz.
//  3. The LNB mixes with its own oscillator (Sky::lnb, high when the tone
//     is on), so the downlink actually received is that LO plus the IF (or
//     minus, when the assumed LO lies above the downlink, as in C band). An
//     oscillator typed wrongly therefore tunes to the wrong downlink.
//  4. The received carrier is the transponder of the pointed satellite on
//     the received polarisation nearest that downlink, within
//     max(5 MHz, symbol rate / 4) of its frequency and within 2% of its
//     symbol rate.
//  5. Its signal follows from how far the dish points off the satellite; a
//     scrambled carrier locks only with its own scrambling code.
// The switch port is recorded but selects nothing: the sky has one dish.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/sim/sky/sky.h"

namespace sim {

// What the last tune request asked for; frequencies in kHz.
struct TuneRequest {
  int64_t downlinkKHz = 0;
  int64_t lowOscillatorKHz = 0;
  int64_t highOscillatorKHz = 0;
  int64_t lnbSwitchKHz = 0;
  Polarisation polarisation = Polarisation::Horizontal;
  int symbolRateKs = 0;
  bool highBand = false;  // the band the application decided: the tone
  std::uint32_t plsGold = 0;  // the scrambling the demodulator undoes
};

// The LNB supply as the card drives it, plus the committed switch port.
struct LnbControl {
  bool toneOn = false;
  Polarisation polarisation = Polarisation::Vertical;  // 13 V at power-up
  int port = 1;                                        // 1 A .. 4 D
};

// A DiSEqC 1.0 committed-switch write (E0/E1, 10/11, 38, data). The data
// byte's high nibble says which of the low nibble's bits to change: bit 0
// band (1 high), bit 1 polarisation (1 horizontal), bits 2-3 port.
struct CommittedSwitch {
  uint8_t data = 0;
};

// The switch command in `bytes`, or nothing when the message is another one.
std::optional<CommittedSwitch> ParseCommittedSwitch(const uint8_t* bytes, size_t length);
LnbControl ApplyCommittedSwitch(LnbControl control, CommittedSwitch command);
LnbControl ApplyTuneToLnb(LnbControl control, const TuneRequest& request);

inline constexpr int64_t kTunerMinIfKHz = 950000;
inline constexpr int64_t kTunerMaxIfKHz = 2150000;

// Where the tuner's front end sits after a tune request.
struct FrontendTune {
  int64_t ifKHz = 0;
  bool ifInRange = false;
  bool oscillatorBelowDownlink = true;
  int symbolRateKs = 0;
};
FrontendTune TuneFrontend(const TuneRequest& request);

// The downlink the LNB converts to the tuned IF with its real oscillator.
int64_t ReceivedDownlinkKHz(const FrontendTune& tune, const Lnb& lnb, const LnbControl& control);

int64_t FrequencyToleranceKHz(int transponderSymbolRateKs);
bool SymbolRateMatches(int requestedKs, int transponderKs);

// Index of the transponder received, if any.
std::optional<size_t> FindTransponder(const Satellite& satellite, int64_t downlinkKHz,
                                      Polarisation polarisation, int symbolRateKs);

// Signal: a clear-sky carrier-to-noise ratio of 18 dB, less the pointing
// loss of a dish with a 2 degree half-power beam width.
inline constexpr double kClearSkyCarrierToNoiseDb = 18.0;
inline constexpr double kBeamWidthDeg = 2.0;

// Time the demodulator takes to lock once tuned.
inline constexpr int kAcquisitionTimeMs = 300;

double PointingLossDb(double pointingErrorDeg);
double CarrierToNoiseDb(double pointingErrorDeg);
int StrengthPercent(double carrierToNoiseDb);  // 0..100
int QualityPercent(double carrierToNoiseDb);   // 0..100, 5 points per dB

struct SignalReport {
  bool locked = false;
  int strength = 0;
  int quality = 0;
};

// Signal of a received transponder, or all zero without one. Locks when the
// carrier-to-noise ratio exceeds what its modulation and code rate need.
SignalReport AssessSignal(const Transponder* transponder, double pointingErrorDeg);

struct Reception {
  FrontendTune tune;
  int64_t downlinkKHz = 0;
  Polarisation polarisation = Polarisation::Vertical;
  std::optional<size_t> transponderIndex;  // into satellite.transponders
  SignalReport signal;
};

// The whole chain for the satellite the dish points at.
Reception Receive(const Satellite& satellite, const Lnb& lnb, const TuneRequest& request,
                  const LnbControl& control, double pointingErrorDeg);

}  // namespace sim
