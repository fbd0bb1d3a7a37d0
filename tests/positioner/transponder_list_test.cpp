// The satellite files' transponder section, the reference a move is
// verified on, and the travel time the page counts down.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/sim/sky/sky.h"
#include "positioner/move_check.h"
#include "positioner/satellite_list.h"
#include "positioner/transponder_list.h"

namespace {

TEST(TransponderList, EntriesReadWithTheirReasonWhenRefused) {
  struct Case {
    const char* value;
    bool reads;
    const char* reason;  // part of the error
  } const cases[] = {
      {"11362,H,22000,DVB-S2", true, ""},
      {" 3840 , r , 27500 , dvb-s ", true, ""},  // C band, circular, blanks and case
      {"11362,H,22000", false, "needs frequency,polarisation"},
      {"11362,H,22000,DVB-S2,x", false, "needs frequency,polarisation"},
      {"11362.5,H,22000,DVB-S2", false, "frequency \"11362.5\""},
      {"0x2c62,H,22000,DVB-S2", false, "frequency"},
      {"1362,H,22000,DVB-S2", false, "3000 to 30000"},  // an IF, not a downlink
      {"11362,X,22000,DVB-S2", false, "not H, V, L or R"},
      {"11362,HV,22000,DVB-S2", false, "not H, V, L or R"},
      {"11362,H,22,DVB-S2", false, "symbol rate \"22\""},  // MS/s, not kS/s
      {"11362,H,22000,DVB-T", false, "not DVB-S or DVB-S2"},
      {"", false, "needs"},
  };
  for (const Case& c : cases) {
    std::string error;
    const auto parsed = ParseListedTransponder(c.value, &error);
    EXPECT_EQ(parsed.has_value(), c.reads) << c.value;
    if (!c.reads) {
      EXPECT_NE(error.find(c.reason), std::string::npos) << c.value << ": " << error;
    }
  }
  std::string error;
  const auto circular = ParseListedTransponder(" 3840 , r , 27500 , dvb-s ", &error);
  ASSERT_TRUE(circular);
  EXPECT_EQ(circular->polarisation, 'R');
  EXPECT_EQ(circular->Polarity(), 1) << "right-hand circular goes with the vertical voltage";
  EXPECT_FALSE(circular->dvbs2);
  EXPECT_EQ(ListedTransponderText(*ParseListedTransponder("11362,H,22000,DVB-S2", &error)), "11 362 H 22 000");
  EXPECT_EQ(ListedTransponderText(*ParseListedTransponder("3840,L,2000,DVB-S", &error)), "3 840 L 2 000");
}

class SatelliteFolder : public testing::Test {
 protected:
  SatelliteFolder() : m_folder(std::filesystem::temp_directory_path() / ("rx40-tp-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(m_folder);
  }
  ~SatelliteFolder() override { std::filesystem::remove_all(m_folder); }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream((m_folder / name).string()) << text;
    return (m_folder / name).string();
  }
  std::filesystem::path m_folder;
};

TEST_F(SatelliteFolder, ABadEntryIsNamedAndSkippedAndAGapEndsTheList) {
  const std::string path = Write("0192.ini",
                                 "[SATTYPE]\n1=0192\n2=Sat 19.2E\n[TRANSPONDERS]\n; a note\n"
                                 "1=11362,H,22000,DVB-S2\n2=11494,Q,22000,DVB-S2\n3=12188,H,27500,DVB-S\n"
                                 "5=10744,H,22000,DVB-S\n");
  const TransponderList list = ReadTransponderList(path);
  ASSERT_EQ(list.transponders.size(), 2u);
  EXPECT_EQ(list.transponders[1].frequencyMHz, 12188);
  ASSERT_EQ(list.errors.size(), 1u);
  EXPECT_EQ(list.errors[0].rfind("0192.ini [TRANSPONDERS] 2: polarisation \"Q\"", 0), 0u) << list.errors[0];
  EXPECT_EQ(SatelliteEntryText(path), "0192  Sat 19.2E") << "the satellite list reads only SATTYPE";
}

TEST_F(SatelliteFolder, TheReferenceIsTheFirstEntryOfTheFileWithThatPosition) {
  Write("a.ini", "[SATTYPE]\n1=0130\n2=Sat 13E\n[TRANSPONDERS]\n1=11766,H,27500,DVB-S\n");
  Write("b.INI", "[SATTYPE]\n1=0192\n2=Sat 19.2E\n[TRANSPONDERS]\n1=11362,H,22000,DVB-S2\n2=10744,H,22000,DVB-S\n");
  Write("c.ini", "[SATTYPE]\n1=0282\n2=Sat 28.2E\n");
  Write("d.ini", "[SATTYPE]\n1=0090\n2=Sat 9E\n[TRANSPONDERS]\n1=bad\n2=11976,V,27500,DVB-S\n");

  const ReferenceLookup found = FindReference(m_folder.string(), "0192  Sat 19.2E");
  ASSERT_TRUE(found.reference);
  EXPECT_EQ(found.reference->frequencyMHz, 11362);
  EXPECT_EQ(found.satellite, "0192  Sat 19.2E");

  const ReferenceLookup noList = FindReference(m_folder.string(), "0282");
  EXPECT_TRUE(noList.fileFound);
  EXPECT_FALSE(noList.reference);
  EXPECT_EQ(NotVerifiableText(noList.satellite, noList.fileFound), "0282  Sat 28.2E: no transponder list, arrival not checked");

  const ReferenceLookup badFirst = FindReference(m_folder.string(), "0090");
  EXPECT_FALSE(badFirst.reference) << "a later carrier is no reference";

  const ReferenceLookup noFile = FindReference(m_folder.string(), "3300");
  EXPECT_FALSE(noFile.fileFound);
  EXPECT_EQ(NotVerifiableText(noFile.satellite, noFile.fileFound), "3300: no satellite file, arrival not checked");
}

// The shipped files at the built-in sky's positions list the simulated
// card's carriers, so a verified move and a scan work out of the box; every
// shipped list reads whole.
TEST(ShippedTransponderLists, ReadWholeAndMatchTheBuiltInSky) {
  const std::string folder = std::string(RX40_DATA_DIR) + "/Transponders";
  for (const std::string& name : SatelliteFileNames(folder)) {
    const TransponderList list = ReadTransponderList(folder + "/" + name);
    EXPECT_TRUE(list.errors.empty()) << list.errors.front();
  }
  for (const sim::Satellite& satellite : sim::DefaultSky().satellites) {
    const int tenths = static_cast<int>(std::lround(satellite.orbitalEastDeg * 10));
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", tenths < 0 ? 3600 + tenths : tenths);
    const std::optional<std::string> file = FindSatelliteFile(folder, digits);
    ASSERT_TRUE(file) << digits;
    const TransponderList list = ReadTransponderList(*file);
    ASSERT_EQ(list.transponders.size(), satellite.transponders.size()) << *file;
    for (const sim::Transponder& carrier : satellite.transponders) {
      const bool listed = std::any_of(list.transponders.begin(), list.transponders.end(), [&](const auto& t) {
        return t.frequencyMHz == carrier.frequencyMHz && t.symbolRateKs == carrier.symbolRateKs &&
               t.Polarity() == (carrier.polarisation == sim::Polarisation::Vertical ? 1 : 0) &&
               t.dvbs2 == (carrier.system == sim::DeliverySystem::DvbS2);
      });
      EXPECT_TRUE(listed) << *file << " lacks " << carrier.frequencyMHz;
    }
  }
}

TEST(MoveCheck, TravelTimeFollowsTheAngleAndTheSpeedWithTheWorstCaseWhenTheStartIsUnknown) {
  EXPECT_EQ(TravelSeconds(-17.0, -1.0, 1.5), 12) << "16 degrees at 1.5/s is 10.7 s, up to 11, plus 1 to settle";
  EXPECT_EQ(TravelSeconds(5.0, 5.0, 1.5), 1);
  EXPECT_EQ(TravelSeconds(10.0, -10.0, 2.0), 11);
  EXPECT_EQ(TravelSeconds(std::nullopt, 10.0, 1.5), 51) << "from the far end of the arc: 75 degrees";
  EXPECT_EQ(MovingText("0192  Sat 19.2E", 7), "Moving to 0192: 7 s");
  std::string error;
  EXPECT_EQ(ArrivedText(*ParseListedTransponder("11362,H,22000,DVB-S2", &error), 90),
            "Arrived: LOCKED on 11 362 H 22 000 (quality 90)");
}

}  // namespace
