// The simulated card's FILE (--simulate=FILE) on any text: it is accepted
// whole or refused with "line N: reason", and whatever it accepts the card
// can carry (every transponder has a bit rate and a media information
// record that reads back as written).
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/sim/driver/bit_rate.h"
#include "platform/sim/sim_file.h"
#include "platform/sim/sky/media_info.h"
#include "platform/sim/sky/reception.h"

namespace {

using fuzz::Check;

bool IsLineError(const std::string& error) {
  return error.rfind("line ", 0) == 0 && error.size() > 5 && error[5] >= '0' && error[5] <= '9' &&
         error.find(": ") != std::string::npos;
}

void CheckCarrier(const sim::Transponder& transponder, const sim::Sky& sky) {
  Check(sim::UsefulBitRate(transponder) > 0);
  std::vector<int> ids = transponder.inputStreamIds;
  ids.push_back(-1);
  for (const int id : ids) {
    const sim::MediaInfoReport report = sim::DescribeCarrier(transponder, 1'200'000, id);
    uint8_t record[sim::kMediaInfoRecordSize];
    sim::EncodeMediaInfo(report, record);
    const sim::MediaInfoReport decoded = sim::DecodeMediaInfo(record);
    Check(decoded.matype1 == report.matype1 && decoded.matype2 == report.matype2 &&
          decoded.symbolRateBd == report.symbolRateBd && decoded.inputStreamId == report.inputStreamId);
  }
  // Tune to it as the Tuner Setting page would, with the LNB the file gives.
  sim::TuneRequest request;
  request.downlinkKHz = static_cast<int64_t>(transponder.frequencyMHz * 1000);
  request.lowOscillatorKHz = int64_t{sky.lnb.lowOscillatorMHz} * 1000;
  request.highOscillatorKHz = int64_t{sky.lnb.highOscillatorMHz} * 1000;
  request.lnbSwitchKHz = request.highOscillatorKHz;
  request.highBand = true;
  request.polarisation = transponder.polarisation;
  request.symbolRateKs = transponder.symbolRateKs;
  const sim::LnbControl control = sim::ApplyTuneToLnb(sim::LnbControl{}, request);
  for (const sim::Satellite& satellite : sky.satellites) {
    for (const double pointingError : {0.0, 0.7, 45.0, 180.0}) {
      sim::Receive(satellite, sky.lnb, request, control, pointingError);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto config = sim::ParseSimText(text, &error);
  if (!config) {
    Check(IsLineError(error));
    return 0;
  }
  const sim::Sky& sky = config->sky;
  Check(!sky.satellites.empty());
  Check(sky.pointedSatelliteIndex >= 0 && static_cast<size_t>(sky.pointedSatelliteIndex) < sky.satellites.size());
  for (const sim::Satellite& satellite : sky.satellites) {
    for (const sim::Transponder& transponder : satellite.transponders) CheckCarrier(transponder, sky);
  }
  return 0;
}
