#include "positioner/transponder_list.h"

#include <charconv>
#include <filesystem>

#include "positioner/satellite_list.h"
#include "settings/ini_file.h"

namespace {

// The longest list read; a file longer than this is cut, not refused.
constexpr int kMaxTransponders = 400;

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> SplitFields(const std::string& value) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = value.find(',', start);
    fields.push_back(Trim(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return std::nullopt;
  return value;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return text;
}

std::string Grouped(int value) {
  const std::string digits = std::to_string(value);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ' ';
    text += digits[i];
  }
  return text;
}

}  // namespace

std::optional<ListedTransponder> ParseListedTransponder(const std::string& value, std::string* error) {
  const std::vector<std::string> fields = SplitFields(value);
  if (fields.size() != 4) {
    *error = "needs frequency,polarisation,symbol rate,system (e.g. 11362,H,22000,DVB-S2)";
    return std::nullopt;
  }
  ListedTransponder transponder;
  // Ku and C band downlinks, and symbol rates a DVB-S2 demodulator takes.
  const auto frequency = WholeNumber(fields[0], 3000, 30000);
  if (!frequency) {
    *error = "frequency \"" + fields[0] + "\" is not a downlink in whole MHz (3000 to 30000)";
    return std::nullopt;
  }
  const std::string polarisation = Upper(fields[1]);
  if (polarisation.size() != 1 || std::string("HVLR").find(polarisation[0]) == std::string::npos) {
    *error = "polarisation \"" + fields[1] + "\" is not H, V, L or R";
    return std::nullopt;
  }
  const auto symbolRate = WholeNumber(fields[2], 100, 100000);
  if (!symbolRate) {
    *error = "symbol rate \"" + fields[2] + "\" is not in whole kS/s (100 to 100000)";
    return std::nullopt;
  }
  const std::string system = Upper(fields[3]);
  if (system != "DVB-S" && system != "DVB-S2") {
    *error = "system \"" + fields[3] + "\" is not DVB-S or DVB-S2";
    return std::nullopt;
  }
  transponder.frequencyMHz = *frequency;
  transponder.polarisation = polarisation[0];
  transponder.symbolRateKs = *symbolRate;
  transponder.dvbs2 = system == "DVB-S2";
  return transponder;
}

TransponderList ReadTransponderList(const std::string& path) {
  const CIniFile file(path);
  const std::string name = std::filesystem::path(path).filename().string();
  TransponderList list;
  for (int key = 1; key <= kMaxTransponders; ++key) {
    const std::string value = file.GetValue(kTransponderSection, std::to_string(key));
    if (value.empty()) break;
    std::string error;
    if (const auto transponder = ParseListedTransponder(value, &error)) list.transponders.push_back(*transponder);
    else list.errors.push_back(name + " [" + kTransponderSection + "] " + std::to_string(key) + ": " + error);
  }
  return list;
}

std::optional<std::string> FindSatelliteFile(const std::string& folder, const std::string& positionDigits) {
  for (const std::string& name : SatelliteFileNames(folder)) {
    const std::string path = folder + "/" + name;
    if (CIniFile(path).GetValue(kSatelliteSection, "1") == positionDigits) return path;
  }
  return std::nullopt;
}

std::string ListedTransponderText(const ListedTransponder& transponder) {
  return Grouped(transponder.frequencyMHz) + " " + transponder.polarisation + " " + Grouped(transponder.symbolRateKs);
}
