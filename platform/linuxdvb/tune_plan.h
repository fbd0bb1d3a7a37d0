// What a tune request from the network provider means for a Linux DVB-S/S2
// frontend, worked out before anything is sent:
//  - LNB voltage from the polarisation: 18 V horizontal (and circular left),
//    13 V vertical (and circular right);
//  - 22 kHz tone from the band the application decided for the carrier,
//    the same decision that set the DiSEqC switch message's band bit;
//  - intermediate frequency = |downlink - the band's oscillator| in kHz; an
//    oscillator above the downlink (C band) inverts the spectrum;
//  - symbol rate in symbols per second (the request carries kS/s).
//
// And the search for the carrier's DVB-S2 parameters. The kernel answers
// FE_SET_PROPERTY(DTV_TUNE) before the driver has seen the parameters, so a
// demodulator that refuses one (cx24116 takes no AUTO modulation, code rate
// or roll-off on DVB-S2) shows only as a tune that never locks. The
// attempts, each given AcquisitionMs() to lock, in this order:
//  1. the parameters the carrier last locked with, when remembered;
//  2. DVB-S2 with the most the frontend's capability bits leave to it:
//     modulation AUTO only with FE_CAN_QAM_AUTO (else QPSK), code rate AUTO
//     with FE_CAN_FEC_AUTO, roll-off 0.35 (no bit offers roll-off AUTO);
//  3. DVB-S: QPSK, code rate AUTO with FE_CAN_FEC_AUTO (else each DVB-S
//     rate it lists), roll-off 0.35;
//  4. DVB-S2 with the other roll-offs (0.25, 0.20) and modulations (8PSK,
//     and 16APSK and 32APSK with FE_CAN_2G_MODULATION), code rate as in 2;
//  5. DVB-S2 with each code rate of QPSK and 8PSK (and of 16APSK and 32APSK
//     without FE_CAN_FEC_AUTO) for each roll-off: FE_CAN_FEC_AUTO speaks for
//     DVB-S, and a demodulator may still refuse it on DVB-S2.
// Pilots are always AUTO: every driver read takes it (cx24116 emulates it by
// retrying with the pilot bit turned over). Pure functions.
#pragma once

#include <linux/dvb/frontend.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/linuxdvb/sec_plan.h"
#include "platform/media/bda_interfaces.h"

namespace linuxdvb {

struct TuneTarget {
  LnbVoltage voltage = LnbVoltage::V13;
  Tone tone = Tone::Off;
  std::uint32_t ifKHz = 0;
  std::uint32_t symbolRate = 0;  // symbols per second
  SpectralInversion inversion = BDA_SPECTRAL_INVERSION_NOT_SET;  // as the request asks
  bool spectrumInverted = false;  // the oscillator lies above the downlink
  std::optional<Burst> burst;
};

// None, with the reason, for a request the frontend cannot be given: no
// polarisation, no usable oscillator (LNB switch 0), a frequency or symbol
// rate that is not positive.
std::optional<TuneTarget> PlanTune(const DvbsTuneParameters& request, std::string* reason);

// The DVBv5 parameters of one attempt.
struct TuneAttempt {
  fe_delivery_system system = SYS_DVBS2;
  fe_modulation modulation = QPSK;
  fe_code_rate fec = FEC_AUTO;
  fe_rolloff rolloff = ROLLOFF_35;
  fe_pilot pilot = PILOT_AUTO;
  bool operator==(const TuneAttempt&) const = default;
};

// The attempts in the order above for a frontend with these capability bits
// and delivery systems; remembered first when given.
std::vector<TuneAttempt> PlanSearch(std::uint32_t caps, const std::vector<std::uint32_t>& systems,
                                    const std::optional<TuneAttempt>& remembered);

// How long one attempt may take to lock, by symbol rate (symbols per second).
// The longest searches in the drivers read are stv090x's (demodulator plus
// FEC timeouts by symbol rate); every other driver locks within these:
//   up to 1 Msym/s   6500 ms   (stv090x: 4500 + 1700 ms)
//   up to 2 Msym/s   4000 ms   (2500 + 1100 ms)
//   up to 5 Msym/s   2000 ms   (1000 + 550 ms)
//   above            1500 ms   (cx24116: two 500 ms tries with pilot turned over)
std::uint32_t AcquisitionMs(std::uint32_t symbolRate);

// The input stream and physical-layer scrambling of a DVB-S2 tune.
struct StreamSelection {
  std::optional<std::uint32_t> isi;       // none: the kernel's "no filter"
  std::optional<std::uint32_t> plsGold;   // none: the default sequence (gold 0)
};

// The property list of one attempt, from DTV_CLEAR to DTV_TUNE. The spectral
// inversion is the request's, else AUTO where the frontend offers it, else
// what the LNB does to the spectrum.
std::vector<dtv_property> TuneProperties(const TuneTarget& target, const TuneAttempt& attempt, std::uint32_t caps,
                                         const StreamSelection& selection);

// "DVB-S2 8PSK 2/3 roll-off 0.20 pilots auto"; parsing reads the same words.
std::string DescribeAttempt(const TuneAttempt& attempt);
std::optional<TuneAttempt> ParseAttempt(const std::string& text);

// Names of the kernel's values as the tool shows them ("8PSK", "2/3",
// "0.20", "auto"); "?" for a value without a name.
std::string ModulationName(std::uint32_t modulation);
std::string CodeRateName(std::uint32_t fec);
std::string RollOffName(std::uint32_t rolloff);

}  // namespace linuxdvb
