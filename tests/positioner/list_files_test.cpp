// The city list and satellite file readers: split rules, blocks, lookups,
// and text from other systems.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "positioner/city_list.h"
#include "positioner/list_text.h"
#include "positioner/missing_lists.h"
#include "positioner/satellite_list.h"

namespace fs = std::filesystem;

namespace {

class ListFiles : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/list_files_test.XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  fs::path folder_;
};

TEST(CityLineSplit, EachFieldEndsAtATabAndAMissingTabLeavesItEmpty) {
  const struct {
    const char* line;
    CityLine fields;
  } cases[] = {
      {"France\tParis\t48.86\t2.35", {"France", "Paris", "48.86", "2.35"}},
      {"France\tParis\t48.86", {"France", "Paris", "", "48.86"}},  // three fields: no latitude
      {"France\tParis", {"France", "", "", "Paris"}},              // two fields: no city
      {"France", {"", "", "", "France"}},
      {"France\tParis\t48.86\t2.35\textra", {"France", "Paris", "48.86", "2.35\textra"}},
      {"\t\t\t", {"", "", "", ""}},
      {"Ch ile\tSan Pedro\t-22.9\t-68.2", {"Ch ile", "San Pedro", "-22.9", "-68.2"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCityLine(c.line), c.fields) << c.line;
}

TEST(CityBlocks, OnlyTheFirstBlockOfACountryCounts) {
  const std::vector<std::string> lines = {
      "France\tParis\t48.86\t2.35", "France\tLyon\t45.76\t4.84",     "Germany\tBerlin\t52.52\t13.40",
      "France\tNice\t43.70\t7.27",  "Germany\tBonn\t50.74\t7.10",     "france\tBrest\t48.39\t-4.49",
  };
  std::vector<std::string> cities;
  for (const CityLine& line : FirstBlockOf(lines, "France")) cities.push_back(line.city);
  EXPECT_EQ(cities, (std::vector<std::string>{"Paris", "Lyon"}));
  EXPECT_EQ(FirstBlockOf(lines, "Germany").size(), 1u);
  EXPECT_EQ(FirstBlockOf(lines, "france").front().city, "Brest");  // names compare exactly
  EXPECT_TRUE(FirstBlockOf(lines, "Spain").empty());
  EXPECT_TRUE(FirstBlockOf(lines, "Fr").empty());
}

TEST(CityCountries, EachCountryOnceInTheOrderItFirstAppears) {
  const std::vector<std::string> lines = {
      "France\tParis\t48.86\t2.35", "Germany\tBerlin\t52.52\t13.40", "France\tNice\t43.70\t7.27",
      "france\tBrest\t48.39\t-4.49", "Oslo",  // no tab: no country
      "Germany\tBonn\t50.74\t7.10",
  };
  EXPECT_EQ(CountriesOf(lines), (std::vector<std::string>{"France", "Germany", "france", ""}));
  EXPECT_TRUE(CountriesOf({}).empty());
  for (const std::string& country : CountriesOf(lines)) EXPECT_FALSE(FirstBlockOf(lines, country).empty()) << country;
}

TEST(CityLookup, LastLineOfTheCityBeforeItsCountryEnds) {
  const std::vector<std::string> lines = {
      "A\tX\t1\t1", "A\tY\t2\t2", "A\tX\t3\t3", "B\tX\t4\t4", "A\tX\t5\t5", "A\tZ\t6\t6",
  };
  EXPECT_EQ(FindCity(lines, "A", "X")->latitude, "3");  // listed twice: the last line, reading stops at B
  EXPECT_EQ(FindCity(lines, "A", "Z")->longitude, "6");  // a later block is searched while not found
  EXPECT_EQ(FindCity(lines, "B", "X")->latitude, "4");
  EXPECT_FALSE(FindCity(lines, "A", "x"));
  EXPECT_FALSE(FindCity(lines, "C", "X"));
}

TEST_F(ListFiles, CityListFromAnySystemReadsAsTheSameLines) {
  const std::vector<std::string> expected = {"Deutschland\tK\xC3\xB6ln\t50.94\t6.96", "Norge\tOslo\t59.91\t10.75"};
  const std::string variants[] = {
      "Deutschland\tK\xC3\xB6ln\t50.94\t6.96\nNorge\tOslo\t59.91\t10.75\n",
      "\xEF\xBB\xBF" "Deutschland\tK\xC3\xB6ln\t50.94\t6.96\r\nNorge\tOslo\t59.91\t10.75\r\n",
      "Deutschland\tK\xF6ln\t50.94\t6.96\rNorge\tOslo\t59.91\t10.75\r",  // Latin-1, old Mac endings
      "Deutschland\tK\xC3\xB6ln\t50.94\t6.96\r\n\nNorge\tOslo\t59.91\t10.75",  // mixed, blank line, no final break
  };
  for (const std::string& bytes : variants) {
    const auto lines = ReadCityList(Write("CityList.txt", bytes));
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, expected) << testing::PrintToString(bytes);
  }
  EXPECT_FALSE(ReadCityList((folder_ / "missing.txt").string()));
  EXPECT_FALSE(ReadCityList(folder_.string())) << "a folder is no city list";
}

TEST(ListText, Utf8PassesAndOtherBytesAreLatin1) {
  EXPECT_EQ(ListTextToUtf8("Z\xC3\xBCrich"), "Z\xC3\xBCrich");
  EXPECT_EQ(ListTextToUtf8("Z\xFCrich"), "Z\xC3\xBCrich");
  EXPECT_EQ(ListTextToUtf8("S\xE3o Paulo"), "S\xC3\xA3o Paulo");
  EXPECT_EQ(ListTextToUtf8("\xC3"), "\xC3\x83");            // a cut sequence is not UTF-8
  EXPECT_EQ(ListTextToUtf8("\xC0\xAF"), "\xC3\x80\xC2\xAF");  // nor is an overlong one
  EXPECT_EQ(ListTextToUtf8("plain"), "plain");
}

TEST_F(ListFiles, SatelliteFilesAndTheirEntries) {
  const fs::path transponders = TransponderFolder(folder_.string());
  EXPECT_TRUE(SatelliteFileNames(transponders.string()).empty()) << "no folder, no files";

  Write("Transponders/0192.ini", "[SATTYPE]\n1=0192\n2=Astra 1KR/1L/1M/1N\n[DVB]\n0=1\n");
  Write("Transponders/bom.INI", "\xEF\xBB\xBF[SATTYPE]\r\n1=0130\r\n2=Hot Bird 13F/13G\r\n");
  Write("Transponders/copy.ini", "[SATTYPE]\n1=0192\n2=Astra 1KR/1L/1M/1N\n");
  Write("Transponders/empty.ini", "");
  Write("Transponders/latin1.ini", "[SATTYPE]\r1=3560\r2=Amos 3 \xB7 7\r");
  Write("Transponders/notes.txt", "[SATTYPE]\n1=9999\n");
  fs::create_directories(transponders / "folder.ini");

  std::vector<std::string> entries;
  for (const std::string& name : SatelliteFileNames(transponders.string()))
    entries.push_back(SatelliteEntryText((transponders / name).string()));
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::string>{"  ", "0130  Hot Bird 13F/13G", "0192  Astra 1KR/1L/1M/1N",
                                               "0192  Astra 1KR/1L/1M/1N", "3560  Amos 3 \xC2\xB7 7"}));
  EXPECT_EQ(SatelliteEntryText((transponders / "missing.ini").string()), "  ");

  std::vector<std::string> listed = SatelliteEntries(transponders.string());
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, entries) << "one entry per file, the folder's other entries left out";
  EXPECT_TRUE(SatelliteEntries((folder_ / "missing").string()).empty());
}

TEST(MissingLists, ThePageLineNamesWhatIsMissingAndTheDebugLineWhereItLooked) {
  const struct {
    ListsFound found;
    const char* shipped;
    const char* outcome;
    const char* debugLine;
  } cases[] = {
      {{false, false}, "/usr/share/rx40-tessel", "No city list or satellite files: type the values",
       "No city list or satellite files (CityList.txt, Transponders/) in /data or /usr/share/rx40-tessel"},
      {{false, true}, "", "No city list: type the values", "No city list (CityList.txt, Transponders/) in /data"},
      {{true, false}, "/data", "No satellite files: type the values",
       "No satellite files (CityList.txt, Transponders/) in /data"},  // the same folder is named once
  };
  for (const auto& c : cases) {
    const auto note = NoteMissingLists(c.found, "/data", c.shipped);
    ASSERT_TRUE(note) << c.outcome;
    EXPECT_EQ(note->outcome, c.outcome);
    EXPECT_EQ(note->debugLine, c.debugLine);
  }
  EXPECT_FALSE(NoteMissingLists({true, true}, "/data", "/usr/share/rx40-tessel"));
}

}  // namespace
