// What a tune request from the network provider means for a Linux DVB-S/S2
// frontend, worked out before anything is sent:
//  - LNB voltage from the polarisation: 18 V horizontal (and circular left),
//    13 V vertical (and circular right);
//  - 22 kHz tone on when the oscillator the program chose for the carrier
//    (the request's LNB switch value) is the high one;
//  - intermediate frequency = |downlink - chosen oscillator| in kHz, the
//    value the frontend tunes to;
//  - symbol rate in symbols per second (the request carries kS/s).
// And the DVBv5 properties of one attempt: DVB-S2 with modulation, inner FEC,
// roll-off and pilots left to the demodulator, or DVB-S (QPSK, roll-off
// 0.35). Pure functions.
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
  fe_spectral_inversion inversion = INVERSION_AUTO;
};

// None, with the reason, for a request the frontend cannot be given: no
// polarisation, no usable oscillator (LNB switch 0), a frequency or symbol
// rate that is not positive.
std::optional<TuneTarget> PlanTune(const DvbsTuneParameters& request, std::string* reason);

// The property list of one attempt, from DTV_CLEAR to DTV_TUNE. streamId is
// the input stream to select on a DVB-S2 carrier (none: the kernel's "no
// filter"); DVB-S has no input streams.
std::vector<dtv_property> TuneProperties(const TuneTarget& target, fe_delivery_system system,
                                         std::optional<std::uint32_t> streamId);

}  // namespace linuxdvb
