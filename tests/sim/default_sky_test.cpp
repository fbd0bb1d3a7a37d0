#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "platform/sim/sky/carrier_rules.h"
#include "platform/sim/sky/reception.h"
#include "platform/sim/sky/sky.h"

namespace sim {
namespace {

TEST(DefaultSky, OffersTheStatedMixOfValidCarriers) {
  const Sky sky = DefaultSky();
  ASSERT_GE(sky.satellites.size(), 3u);
  ASSERT_GE(sky.pointedSatelliteIndex, 0);
  ASSERT_LT(sky.pointedSatelliteIndex, static_cast<int>(sky.satellites.size()));

  bool dvbsQpsk = false, s2Psk8Ccm = false, apsk16 = false, apsk32 = false, mis = false;
  bool horizontal = false, vertical = false, lowBand = false, highBand = false;
  for (const Satellite& satellite : sky.satellites) {
    EXPECT_FALSE(satellite.transponders.empty()) << satellite.name;
    for (const Transponder& t : satellite.transponders) {
      EXPECT_EQ(TransponderProblem(t), "") << satellite.name << " " << t.frequencyMHz;
      EXPECT_GE(t.frequencyMHz, 10700);
      EXPECT_LE(t.frequencyMHz, 12750);
      EXPECT_GE(t.symbolRateKs, 2000);
      EXPECT_LE(t.symbolRateKs, 45000);
      // Every carrier locks with the dish pointed straight at it.
      EXPECT_TRUE(AssessSignal(&t, 0.0).locked) << satellite.name << " " << t.frequencyMHz;
      const bool s2 = t.system == DeliverySystem::DvbS2;
      dvbsQpsk |= !s2 && t.modulation == Modulation::Qpsk;
      s2Psk8Ccm |= s2 && t.modulation == Modulation::Psk8 && t.ccm;
      apsk16 |= t.modulation == Modulation::Apsk16;
      apsk32 |= t.modulation == Modulation::Apsk32;
      mis |= t.inputStreamIds.size() >= 3;
      horizontal |= t.polarisation == Polarisation::Horizontal;
      vertical |= t.polarisation == Polarisation::Vertical;
      lowBand |= t.frequencyMHz < 11700;
      highBand |= t.frequencyMHz >= 11700;
    }
  }
  EXPECT_TRUE(dvbsQpsk && s2Psk8Ccm && apsk16 && apsk32 && mis);
  EXPECT_TRUE(horizontal && vertical && lowBand && highBand);
}

// Every kind of carrier the stream-information panel tells apart can be
// tuned without moving the dish.
TEST(DefaultSky, TheStartingSatelliteCarriesEveryKindThePanelShows) {
  const Sky sky = DefaultSky();
  const Satellite& start = sky.satellites.at(sky.pointedSatelliteIndex);
  std::map<std::string, bool> seen;
  for (const Transponder& t : start.transponders) {
    const bool s2 = t.system == DeliverySystem::DvbS2;
    const auto& ids = t.inputStreamIds;
    seen["DVB-S"] |= !s2;
    seen["DVB-S2 CCM single stream"] |= s2 && t.ccm && !t.IsMultipleInputStream();
    seen["multiple input streams, one id 10 or more"] |=
        ids.size() >= 3 && std::any_of(ids.begin(), ids.end(), [](int id) { return id >= 10; });
    seen["short frames"] |= t.shortFrame;
    seen["DVB-S2 long frames"] |= s2 && !t.shortFrame;
    seen["pilots on"] |= t.pilots;
    seen["DVB-S2 pilots off"] |= s2 && !t.pilots;
    seen["inverted spectrum"] |= t.spectralInversion;
    seen["ACM"] |= !t.ccm;
    seen["ISSYI"] |= t.issy;
    seen["NPD"] |= t.npd;
    seen["generic stream"] |= t.streamType != StreamType::Transport;
  }
  for (const auto& [kind, found] : seen) EXPECT_TRUE(found) << kind;
}

}  // namespace
}  // namespace sim
