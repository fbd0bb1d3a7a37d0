// The media-information record of a real DVB-S/S2 frontend. The kernel
// reports the tuned physical layer (delivery system, modulation, inner FEC,
// roll-off, pilots, inversion, frequency, symbol rate, stream id), not the
// baseband header, so the MATYPE bytes are built from what is known:
//  - TS/GS: transport stream, the only output this backend delivers;
//  - SIS/MIS and the input stream id: not reported (every driver hands back
//    the stream id it was given), so single, id 0;
//  - roll-off from the frontend (0.35 for DVB-S); unknown: "reserved" (11);
//  - CCM, no ISSYI, no NPD: the kernel cannot tell; these are the settings
//    that add nothing to the stream.
// Unknown modulation is 4 ("UNKNOWN"), an unknown DVB-S2 MODCOD 29
// ("UNKNOW"), an unknown DVB-S code rate 8 ("UNKNOWN"); the frame length is
// not reported and stays normal. A DVB-S carrier reports what a DVB-S2
// single transport stream with roll-off 0.35 would, as the simulated card
// does. Pure function.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/media/driver_records.h"

namespace linuxdvb {

// DVBv5 property values read back from a locked frontend.
struct TunedParameters {
  std::uint32_t deliverySystem = 0;  // fe_delivery_system
  std::uint32_t modulation = 0;      // fe_modulation
  std::uint32_t innerFec = 0;        // fe_code_rate
  std::uint32_t rollOff = 0;         // fe_rolloff
  std::uint32_t pilot = 0;           // fe_pilot
  std::uint32_t inversion = 0;       // fe_spectral_inversion
  std::uint32_t frequencyKHz = 0;    // the intermediate frequency
  std::uint32_t symbolRate = 0;      // symbols per second
  std::uint32_t streamId = 0;        // NO_STREAM_ID_FILTER when none is selected
};

driver::MediaInfoReport DeriveMediaInfo(const TunedParameters& tuned);

// The Es/N0 the tuned MODCOD (or DVB-S code rate) needs for quasi-error-free
// reception; none while modulation or code rate are not known (AUTO).
std::optional<double> RequiredEsN0Db(const TunedParameters& tuned);

}  // namespace linuxdvb
