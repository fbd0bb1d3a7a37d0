#pragma once
// The city list "CityList.txt" of the program folder: one city a line,
// four tab-separated fields (country, city, latitude, longitude in decimal
// degrees, north and east positive), each country's lines together. The
// file is only read; each use reads it afresh.
//
// Splitting: each field is the text before the next tab and the rest goes
// on after that tab; where no tab follows, the field is empty and the whole
// rest passes on. So a line with three fields has an empty latitude and its
// third field as longitude, a line with two fields an empty city, and the
// longitude is everything after the third tab. Comparisons of fields are
// exact and case-sensitive.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr char kCityListFileName[] = "CityList.txt";

struct CityLine {
  std::string country;
  std::string city;
  std::string latitude;
  std::string longitude;

  bool operator==(const CityLine&) const = default;
};

CityLine SplitCityLine(std::string_view line);

// The lines of the file at `path` as UTF-8 texts (list_text.h), with any
// line ending and a byte-order mark read as text_lines.h says; empty lines
// hold no city and are left out. None when the file cannot be read.
std::optional<std::vector<std::string>> ReadCityList(const std::string& path);

// The city list of the program folder.
std::string CityListPath();

// The countries of the lines, each once, in the order they first appear
// (names compare exactly; the page's list box also folds letter case).
std::vector<std::string> CountriesOf(const std::vector<std::string>& lines);

// The lines of `country`'s first block, in file order: reading stops at the
// first line of another country once the country's lines have been met.
std::vector<CityLine> FirstBlockOf(const std::vector<std::string>& lines, const std::string& country);

// Where `city` of `country` lies: the last line naming it before reading
// stops, which is at the first line of another country after it was found.
// None when it is not found.
std::optional<CityLine> FindCity(const std::vector<std::string>& lines, const std::string& country,
                                 const std::string& city);
