#pragma once
// Builds the simulated card's sky from the sky sections of the card's FILE
// (sim_file.h reads the FILE and hands each section to its owner):
//
//   [site]                 latitude and longitude of the dish, degrees,
//   latitude=50.0          north and east positive (optional section;
//   longitude=8.0          the built-in site otherwise)
//
//   [lnb]                  the LNB's real oscillators, MHz (optional;
//   low=9750               9750 and 10600 otherwise)
//   high=10600
//
//   [dish]                 the satellite the dish starts pointed at, by its
//   satellite=1            section number (optional; the lowest otherwise)
//
//   [satellite 1]          one section per satellite, numbered freely
//   name=Sat 23.5E         (0 or more); satellites are kept in number order
//   position=23.5          orbital position: degrees east, negative or with
//                          a W suffix for west ("5.0W" = "-5.0")
//   tp=11362 H 22000 S2 8PSK 2/3 rolloff=0.20 pilots=on
//
// A transponder line is: frequency in MHz, polarisation H or V, symbol
// rate in kS/s, system S or S2 (also DVB-S, DVB-S2), modulation QPSK, 8PSK,
// 16APSK or 32APSK, code rate (1/4 1/3 2/5 1/2 3/5 2/3 3/4 4/5 5/6 6/7 7/8
// 8/9 9/10), then any of these options (default first):
//   rolloff=0.35|0.25|0.20   pilots=off|on         frame=long|short
//   stream=ts|gsp|gsc        mode=ccm|acm          isi=1,2,3 (none)
//   issy=off|on              npd=off|on            inversion=off|on
// stream: transport, generic packetized, generic continuous. isi lists the
// input stream ids; two or more make a multiple-input-stream carrier.
// The carrier must be one the standards define (for example DVB-S is QPSK,
// transport stream, roll-off 0.35; 8PSK has no rate 1/2).
//
// Names of sections, keys, options and words are case-insensitive. Unknown
// sections, keys and options, repeated keys (but tp) and repeated sections
// (or satellite numbers) are errors. Errors name the line and the reason.
// Sky sections, when given, must include at least one satellite.

#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sim_ini.h"
#include "platform/sim/sky/sky.h"

namespace sim {

struct SkyFileResult {
  Sky sky;            // meaningful only when `error` is empty
  std::string error;  // "line 12: ..."; empty on success

  bool ok() const { return error.empty(); }
};

// Whether a section of the FILE belongs to the sky: [site], [lnb], [dish]
// and [satellite ...].
bool IsSkySection(std::string_view name);

// The sky from its sections, in file order; the built-in sky's site and LNB
// fill in for sections not given.
SkyFileResult ParseSky(const std::vector<IniSection>& sections);

}  // namespace sim
