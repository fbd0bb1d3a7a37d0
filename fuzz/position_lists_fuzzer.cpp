// The Motor/Positioner page's lists on any file: the city list and a
// satellite file read as the page reads them come out as UTF-8, the first
// city is found again, and the numbers they hold give a USALS result or a
// refusal, never a message built from a position out of range.

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "positioner/city_list.h"
#include "positioner/satellite_list.h"
#include "positioner/usals.h"
#include "tuner/text_numbers.h"

namespace {

using fuzz::Check;

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

using fuzz::MemoryFile;

// USALS as "Go" computes it from the typed or listed texts.
void CheckUsals(const std::string& position, const std::string& longitude, const std::string& latitude) {
  const usals::Result result = usals::Compute(AtofText(position), AtofText(longitude), AtofText(latitude));
  if (result.status != usals::Status::Ok) return;
  Check(std::isfinite(result.angle) && result.angle != 0 && std::fabs(result.angle) <= usals::kAngleLimit);
  Check(result.message[0] == 0xE1 && result.message[1] == 0x31 && result.message[2] == 0x6E);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const MemoryFile file(text);

  const auto lines = ReadCityList(file.Path());
  Check(lines.has_value());
  for (const std::string& line : *lines) Check(!line.empty() && IsUtf8(line));
  if (!lines->empty()) {
    const CityLine first = SplitCityLine(lines->front());
    Check(!FirstBlockOf(*lines, first.country).empty());
    Check(FindCity(*lines, first.country, first.city).has_value());
  }
  // Every country the page would list has cities to show.
  const std::vector<std::string> countries = CountriesOf(*lines);
  Check(countries.size() <= lines->size() && countries.empty() == lines->empty());
  for (size_t i = 0; i < countries.size() && i < 16; ++i) Check(!FirstBlockOf(*lines, countries[i]).empty());
  size_t checked = 0;
  for (const std::string& line : *lines) {
    if (++checked > 16) break;
    const CityLine city = SplitCityLine(line);
    for (const char* position : {"0130", "3300", "1800", "0000"}) CheckUsals(position, city.longitude, city.latitude);
  }

  // The same bytes as a satellite file: its entry is "position  name".
  const std::string entry = SatelliteEntryText(file.Path());
  Check(IsUtf8(entry) && entry.find("  ") != std::string::npos);
  CheckUsals(entry.substr(0, 4), "8.0", "50.0");
  return 0;
}
