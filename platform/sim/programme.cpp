#include "platform/sim/programme.h"

#include <cstdio>

namespace sim {

SimStreamContent ProgrammeFor(const Sky& sky, const StreamDescription& stream) {
  SimStreamContent content;
  if (!stream.locked || stream.satelliteIndex >= sky.satellites.size()) return content;
  const Satellite& satellite = sky.satellites[stream.satelliteIndex];
  if (stream.transponderIndex >= satellite.transponders.size()) return content;
  const Transponder& carrier = satellite.transponders[stream.transponderIndex];
  char line[64];
  std::snprintf(line, sizeof line, "%.6g %c %d", carrier.frequencyMHz,
                carrier.polarisation == Polarisation::Horizontal ? 'H' : 'V', carrier.symbolRateKs);
  content.caption.lines[0] = satellite.name;
  content.caption.lines[1] = line;
  if (carrier.IsMultipleInputStream()) {
    content.caption.lines[2] = "ISI " + std::to_string(stream.inputStreamId);
    content.caption.barRotation = stream.inputStreamId;
  } else {
    content.caption.lines[2] = "SINGLE STREAM";
    content.caption.barRotation = 0;
  }
  content.serviceName = satellite.name + " " + line;
  return content;
}

}  // namespace sim
