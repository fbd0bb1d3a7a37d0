#include "positioner/city_list.h"

#include <algorithm>
#include <utility>

#include "positioner/list_text.h"
#include "settings/file_contents.h"
#include "settings/program_folder.h"
#include "settings/text_lines.h"

namespace {

// The field before the next tab and the rest after it; no tab: an empty
// field and the whole text as the rest.
std::pair<std::string_view, std::string_view> SplitField(std::string_view text) {
  const size_t tab = text.find('\t');
  if (tab == std::string_view::npos) return {{}, text};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

}  // namespace

CityLine SplitCityLine(std::string_view line) {
  const auto [country, afterCountry] = SplitField(line);
  const auto [city, afterCity] = SplitField(afterCountry);
  const auto [latitude, longitude] = SplitField(afterCity);
  return {std::string(country), std::string(city), std::string(latitude), std::string(longitude)};
}

std::optional<std::vector<std::string>> ReadCityList(const std::string& path) {
  std::string text;
  if (ReadFileContents(path, text) != 0) return std::nullopt;
  std::vector<std::string> lines;
  for (const TextLine& line : SplitTextLines(text)) {
    if (line.contentEnd == line.begin) continue;
    lines.push_back(ListTextToUtf8(std::string_view(text).substr(line.begin, line.contentEnd - line.begin)));
  }
  return lines;
}

std::string CityListPath() { return ProgramFile(kCityListFileName); }

std::vector<std::string> CountriesOf(const std::vector<std::string>& lines) {
  std::vector<std::string> countries;
  for (const std::string& text : lines) {
    std::string country = SplitCityLine(text).country;
    if (std::find(countries.begin(), countries.end(), country) == countries.end())
      countries.push_back(std::move(country));
  }
  return countries;
}

std::vector<CityLine> FirstBlockOf(const std::vector<std::string>& lines, const std::string& country) {
  std::vector<CityLine> block;
  for (const std::string& text : lines) {
    CityLine line = SplitCityLine(text);
    if (line.country == country) block.push_back(std::move(line));
    else if (!block.empty()) break;
  }
  return block;
}

std::optional<CityLine> FindCity(const std::vector<std::string>& lines, const std::string& country,
                                 const std::string& city) {
  std::optional<CityLine> found;
  for (const std::string& text : lines) {
    CityLine line = SplitCityLine(text);
    if (line.country != country) {
      if (found) break;
      continue;
    }
    if (line.city == city) found = std::move(line);
  }
  return found;
}
