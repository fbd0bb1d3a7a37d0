#include "platform/sim/sky/sky_file.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

// The text's sections handed to the sky, as the FILE loader does it.
SkyFileResult ParseSkyText(const std::string& text) {
  std::string error;
  const auto document = ParseIni(text, &error);
  if (!document) return {Sky{}, error};
  return ParseSky(document->sections);
}

constexpr const char* kSkyText =
    "# two satellites\r\n"
    "[Site]\r\n"
    "latitude = 47.5\r\n"
    "longitude = -3.25\r\n"
    "[lnb]\n"
    "low=9750\n"
    "high=10750\n"
    "[dish]\n"
    "satellite=7\n"
    "\n"
    "[satellite 7]\n"
    "name=Sat 5.0W\n"
    "position=5.0W\n"
    "tp=11105 v 27500 dvb-s qpsk 7/8\n"
    "; a multiple-input-stream carrier\n"
    "tp=12168 H 27500 S2 8PSK 3/5 rolloff=0.20 pilots=on frame=short stream=gsc mode=acm "
    "isi=1,2,10 issy=on npd=on inversion=on\n"
    "[satellite 2]\n"
    "name=Sat 23.5E\n"
    "position=23.5\n";

TEST(SkyFile, ReadsEverySectionAndOption) {
  const SkyFileResult result = ParseSkyText(kSkyText);
  ASSERT_TRUE(result.ok()) << result.error;
  const Sky& sky = result.sky;
  EXPECT_DOUBLE_EQ(sky.site.latitude, 47.5);
  EXPECT_DOUBLE_EQ(sky.site.longitude, -3.25);
  EXPECT_EQ(sky.lnb.highOscillatorMHz, 10750);
  ASSERT_EQ(sky.satellites.size(), 2u);
  EXPECT_EQ(sky.satellites[0].name, "Sat 23.5E");  // number order
  EXPECT_EQ(sky.pointedSatelliteIndex, 1);
  const Satellite& west = sky.satellites[1];
  EXPECT_DOUBLE_EQ(west.orbitalEastDeg, -5.0);
  ASSERT_EQ(west.transponders.size(), 2u);
  EXPECT_EQ(west.transponders[0].system, DeliverySystem::DvbS);
  EXPECT_EQ(west.transponders[0].polarisation, Polarisation::Vertical);
  EXPECT_EQ(west.transponders[0].codeRate, CodeRate::R7_8);
  const Transponder& mis = west.transponders[1];
  EXPECT_EQ(mis.frequencyMHz, 12168);
  EXPECT_EQ(mis.modulation, Modulation::Psk8);
  EXPECT_EQ(mis.codeRate, CodeRate::R3_5);
  EXPECT_EQ(mis.rollOff, RollOff::R0_20);
  EXPECT_TRUE(mis.pilots && mis.shortFrame && mis.issy && mis.npd && mis.spectralInversion);
  EXPECT_FALSE(mis.ccm);
  EXPECT_EQ(mis.streamType, StreamType::GenericContinuous);
  EXPECT_EQ(mis.inputStreamIds, (std::vector<int>{1, 2, 10}));
}

TEST(SkyFile, OptionalSectionsFallBackToTheBuiltInSky) {
  const SkyFileResult result = ParseSkyText("[satellite 3]\nname=A\nposition=1\n[satellite 1]\nname=B\nposition=2\n");
  ASSERT_TRUE(result.ok()) << result.error;
  const Sky builtIn = DefaultSky();
  EXPECT_EQ(result.sky.site.latitude, builtIn.site.latitude);
  EXPECT_EQ(result.sky.lnb.lowOscillatorMHz, 9750);
  EXPECT_EQ(result.sky.pointedSatelliteIndex, 0);
  EXPECT_EQ(result.sky.satellites[0].name, "B");
  EXPECT_TRUE(result.sky.satellites[0].transponders.empty());
}

TEST(SkyFile, AScrambledCarriersCodeReadsAsGoldOrRoot) {
  const std::string sat = "[satellite 1]\nname=S\nposition=1\n";
  for (const auto& [option, gold] : {std::pair{"pls=gold:8", 8u}, std::pair{"pls=8", 8u}, std::pair{"pls=ROOT:1024", 8u}}) {
    const SkyFileResult result = ParseSkyText(sat + "tp=12015 H 27500 S2 16APSK 3/4 isi=4,5 " + option + "\n");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.sky.satellites[0].transponders[0].plsGold, gold) << option;
  }
}

TEST(SkyFile, ErrorsNameTheLineAndReason) {
  const std::string sat = "[satellite 1]\nname=S\nposition=1\n";  // lines 1-3
  const std::pair<std::string, std::string> cases[] = {
      {"", "line 1: no [satellite N] section"},
      {"[moon]\n", "line 1: unknown section [moon]"},
      {"[satellite x]\n", "line 1: expected [satellite N] with a number N of 0 or more"},
      {sat + "[Satellite 1]\n", "line 4: section [satellite 1] given twice"},
      {sat + "[satellite 01]\n", "line 4: section [satellite 01] given twice"},
      {sat + "colour=red\n", "line 4: unknown key 'colour' in [satellite 1]"},
      {sat + "Name=T\n", "line 4: key 'name' given twice"},
      {"[satellite 1]\nname=S\n", "line 1: [satellite 1] needs position="},
      {"[satellite 1]\nposition=190\n", "line 2: position must be a number from -180 to 180"},
      {"[satellite 1]\nposition=-5W\n", "line 2: position with E or W must not be negative"},
      {"[site]\nlatitude=1\n" + sat, "line 1: [site] needs longitude="},
      {"[lnb]\nlow=0\n", "line 2: oscillator must be a whole number of MHz from 1 to 30000"},
      {sat + "[dish]\nsatellite=4\n", "line 5: [dish] satellite=4 names no [satellite 4]"},
      {sat + "tp=11362 H 22000 S2 8PSK\n",
       "line 4: tp: expected: frequency polarisation symbolrate system modulation coderate [options]"},
      {sat + "tp=11.3GHz H 22000 S2 8PSK 2/3\n", "line 4: tp: frequency '11.3GHz' is not a number"},
      {sat + "tp=11362 L 22000 S2 8PSK 2/3\n", "line 4: tp: unknown polarisation 'L'"},
      {sat + "tp=11362 H 22.5 S2 8PSK 2/3\n", "line 4: tp: symbol rate '22.5' is not a whole number"},
      {sat + "tp=11362 H 22000 S2 8PSK 7/9\n", "line 4: tp: unknown code rate '7/9'"},
      {sat + "tp=11362 H 22000 S2 8PSK 1/2\n", "line 4: tp: modulation and code rate form no DVB-S2 MODCOD"},
      {sat + "tp=11362 H 22000 S2 8PSK 2/3 colour=red\n", "line 4: tp: unknown option 'colour'"},
      {sat + "tp=11362 H 22000 S2 8PSK 2/3 pilots=yes\n", "line 4: tp: unknown pilots value 'yes'"},
      {sat + "tp=11362 H 22000 S2 8PSK 2/3 npd=on NPD=off\n", "line 4: tp: option 'npd' given twice"},
      {sat + "tp=11362 H 22000 S2 8PSK 2/3 isi=1,,2\n",
       "line 4: tp: isi must be a comma-separated list of numbers"},
      {sat + "tp=11362 H 22000 S2 8PSK 2/3 pls=gold:262143\n", "line 4: tp: pls gold code must be 0 to 262142"},
      {sat + "tp=11362 H 22000 S2 8PSK 2/3 pls=root:0\n", "line 4: tp: pls root 0 is no scrambling root"},
      {sat + "tp=11362 H 22000 S2 8PSK 2/3 pls=key:5\n", "line 4: tp: pls must be gold:N, root:N or N"},
      {sat + "tp=11034 V 27500 S QPSK 3/4 pls=5\n", "line 4: tp: ACM, ISSY, NPD, input stream ids and PLS are DVB-S2 only"},
  };
  for (const auto& [text, error] : cases) {
    const SkyFileResult result = ParseSkyText(text);
    EXPECT_EQ(result.error, error) << text;
  }
}

}  // namespace
}  // namespace sim
