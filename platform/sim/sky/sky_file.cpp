#include "platform/sim/sky/sky_file.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "platform/media/pls_code.h"
#include "platform/sim/sky/carrier_rules.h"

namespace sim {
namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while ((at = s.find_first_not_of(kBlanks, at)) != std::string_view::npos) {
    const size_t end = std::min(s.find_first_of(kBlanks, at), s.size());
    words.push_back(s.substr(at, end - at));
    at = end;
  }
  return words;
}

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// A reason for rejecting the line; empty when fine.
using Problem = std::string;

template <typename T>
Problem ParseChoice(std::string_view text, const std::map<std::string, T>& choices,
                    std::string_view what, T& out) {
  const auto it = choices.find(Lower(text));
  if (it == choices.end()) return "unknown " + std::string(what) + " '" + std::string(text) + "'";
  out = it->second;
  return {};
}

Problem ParseRange(std::string_view text, double low, double high, std::string_view what, double& out) {
  const auto value = ParseNumber<double>(text);
  if (!value || *value < low || *value > high) {
    std::ostringstream reason;
    reason << what << " must be a number from " << low << " to " << high;
    return reason.str();
  }
  out = *value;
  return {};
}

Problem ParsePosition(std::string_view text, double& east) {
  double sign = 1;
  const char last = text.empty() ? '\0' : text.back();
  if (last == 'E' || last == 'e' || last == 'W' || last == 'w') {
    sign = (last == 'W' || last == 'w') ? -1 : 1;
    text.remove_suffix(1);
    if (!text.empty() && text.front() == '-') return "position with E or W must not be negative";
  }
  if (Problem p = ParseRange(text, -180, 180, "position", east); !p.empty()) return p;
  east *= sign;
  return {};
}

const std::map<std::string, Polarisation> kPolarisations = {{"h", Polarisation::Horizontal},
                                                            {"v", Polarisation::Vertical}};
const std::map<std::string, DeliverySystem> kSystems = {
    {"s", DeliverySystem::DvbS}, {"dvb-s", DeliverySystem::DvbS},
    {"s2", DeliverySystem::DvbS2}, {"dvb-s2", DeliverySystem::DvbS2}};
const std::map<std::string, Modulation> kModulations = {{"qpsk", Modulation::Qpsk},
                                                        {"8psk", Modulation::Psk8},
                                                        {"16apsk", Modulation::Apsk16},
                                                        {"32apsk", Modulation::Apsk32}};
const std::map<std::string, CodeRate> kCodeRates = {
    {"1/4", CodeRate::R1_4}, {"1/3", CodeRate::R1_3}, {"2/5", CodeRate::R2_5},
    {"1/2", CodeRate::R1_2}, {"3/5", CodeRate::R3_5}, {"2/3", CodeRate::R2_3},
    {"3/4", CodeRate::R3_4}, {"4/5", CodeRate::R4_5}, {"5/6", CodeRate::R5_6},
    {"6/7", CodeRate::R6_7}, {"7/8", CodeRate::R7_8}, {"8/9", CodeRate::R8_9},
    {"9/10", CodeRate::R9_10}};
const std::map<std::string, RollOff> kRollOffs = {
    {"0.35", RollOff::R0_35}, {"0.25", RollOff::R0_25}, {"0.20", RollOff::R0_20}, {"0.2", RollOff::R0_20}};
const std::map<std::string, StreamType> kStreamTypes = {{"ts", StreamType::Transport},
                                                        {"gsp", StreamType::GenericPacketized},
                                                        {"gsc", StreamType::GenericContinuous}};
const std::map<std::string, bool> kSwitches = {{"on", true}, {"off", false}};
const std::map<std::string, bool> kFrames = {{"short", true}, {"long", false}};
const std::map<std::string, bool> kModes = {{"ccm", true}, {"acm", false}};

Problem ParseStreamIds(std::string_view text, std::vector<int>& ids) {
  ids.clear();
  while (!text.empty()) {
    const size_t comma = std::min(text.find(','), text.size());
    const auto id = ParseNumber<int>(Trim(text.substr(0, comma)));
    if (!id) return "isi must be a comma-separated list of numbers";
    ids.push_back(*id);
    text.remove_prefix(std::min(comma + 1, text.size()));
  }
  return {};
}

// "gold:N", "root:N" or N (a Gold code).
Problem ParsePls(std::string_view text, std::uint32_t& gold) {
  const std::string lower = Lower(text);
  const bool root = lower.starts_with("root:");
  const std::string_view number = text.substr(root || lower.starts_with("gold:") ? 5 : 0);
  const auto value = ParseNumber<std::uint32_t>(number);
  if (!value) return "pls must be gold:N, root:N or N";
  if (!root) {
    if (*value > dvb::kMaxPlsGold) return "pls gold code must be 0 to 262142";
    gold = *value;
    return {};
  }
  const auto fromRoot = dvb::PlsRootToGold(*value);
  if (!fromRoot) return "pls root " + std::to_string(*value) + " is no scrambling root";
  gold = *fromRoot;
  return {};
}

Problem ParseTransponderOption(std::string_view option, Transponder& t) {
  const size_t equals = option.find('=');
  if (equals == std::string_view::npos) return "option '" + std::string(option) + "' needs =value";
  const std::string name = Lower(option.substr(0, equals));
  const std::string_view value = option.substr(equals + 1);
  if (name == "rolloff") return ParseChoice(value, kRollOffs, "roll-off", t.rollOff);
  if (name == "pilots") return ParseChoice(value, kSwitches, "pilots value", t.pilots);
  if (name == "frame") return ParseChoice(value, kFrames, "frame length", t.shortFrame);
  if (name == "stream") return ParseChoice(value, kStreamTypes, "stream type", t.streamType);
  if (name == "mode") return ParseChoice(value, kModes, "mode", t.ccm);
  if (name == "issy") return ParseChoice(value, kSwitches, "issy value", t.issy);
  if (name == "npd") return ParseChoice(value, kSwitches, "npd value", t.npd);
  if (name == "inversion") return ParseChoice(value, kSwitches, "inversion value", t.spectralInversion);
  if (name == "isi") return ParseStreamIds(value, t.inputStreamIds);
  if (name == "pls") return ParsePls(value, t.plsGold);
  return "unknown option '" + name + "'";
}

Problem ParseTransponder(std::string_view text, Transponder& t) {
  const std::vector<std::string_view> words = Words(text);
  if (words.size() < 6) {
    return "expected: frequency polarisation symbolrate system modulation coderate [options]";
  }
  const auto frequency = ParseNumber<double>(words[0]);
  if (!frequency) return "frequency '" + std::string(words[0]) + "' is not a number";
  t.frequencyMHz = *frequency;
  if (Problem p = ParseChoice(words[1], kPolarisations, "polarisation", t.polarisation); !p.empty()) return p;
  const auto symbolRate = ParseNumber<int>(words[2]);
  if (!symbolRate) return "symbol rate '" + std::string(words[2]) + "' is not a whole number";
  t.symbolRateKs = *symbolRate;
  if (Problem p = ParseChoice(words[3], kSystems, "system", t.system); !p.empty()) return p;
  if (Problem p = ParseChoice(words[4], kModulations, "modulation", t.modulation); !p.empty()) return p;
  if (Problem p = ParseChoice(words[5], kCodeRates, "code rate", t.codeRate); !p.empty()) return p;
  std::set<std::string> seen;
  for (size_t i = 6; i < words.size(); ++i) {
    const std::string name = Lower(words[i].substr(0, words[i].find('=')));
    if (!seen.insert(name).second) return "option '" + name + "' given twice";
    if (Problem p = ParseTransponderOption(words[i], t); !p.empty()) return p;
  }
  return TransponderProblem(t);
}

enum class SectionKind { None, Site, Lnb, Dish, Satellite };

class SkyParser {
 public:
  SkyFileResult Parse(const std::vector<IniSection>& sections) {
    result_.sky = DefaultSky();
    for (const IniSection& section : sections) {
      if (!result_.ok()) break;
      line_ = section.line;
      OpenSection(section.line, section.name);
      for (const IniEntry& entry : section.entries) {
        if (!result_.ok()) break;
        ParseEntry(entry);
      }
      if (result_.ok()) CloseSection();
    }
    if (result_.ok()) Finish();
    return result_;
  }

 private:
  void Fail(int line, const std::string& reason) {
    if (result_.ok()) result_.error = "line " + std::to_string(line) + ": " + reason;
  }

  void ParseEntry(const IniEntry& entry) {
    line_ = entry.line;
    if (entry.key != "tp" && !keys_.insert(entry.key).second) {
      return Fail(entry.line, "key '" + entry.key + "' given twice");
    }
    const Problem problem = SetKey(entry.key, entry.value);
    if (!problem.empty()) Fail(entry.line, problem);
  }

  void OpenSection(int line, const std::string& name) {
    header_ = name;
    headerLine_ = line;
    keys_.clear();
    if (!sections_.insert(name).second) return Fail(line, "section [" + name + "] given twice");
    if (name == "site") {
      kind_ = SectionKind::Site;
    } else if (name == "lnb") {
      kind_ = SectionKind::Lnb;
    } else if (name == "dish") {
      kind_ = SectionKind::Dish;
    } else if (name.rfind("satellite", 0) == 0) {
      const auto number = ParseNumber<int>(Trim(std::string_view(name).substr(9)));
      if (!number || *number < 0) return Fail(line, "expected [satellite N] with a number N of 0 or more");
      if (satellites_.count(*number)) return Fail(line, "section [" + name + "] given twice");
      kind_ = SectionKind::Satellite;
      satelliteNumber_ = *number;
      satellite_ = Satellite{};
    } else {
      Fail(line, "unknown section [" + name + "]");
    }
  }

  Problem SetKey(const std::string& key, std::string_view value) {
    switch (kind_) {
      case SectionKind::Site:
        if (key == "latitude") return ParseRange(value, -90, 90, "latitude", site_.latitude);
        if (key == "longitude") return ParseRange(value, -180, 180, "longitude", site_.longitude);
        break;
      case SectionKind::Lnb:
        if (key == "low") return ParseOscillator(value, lnb_.lowOscillatorMHz);
        if (key == "high") return ParseOscillator(value, lnb_.highOscillatorMHz);
        break;
      case SectionKind::Dish:
        if (key == "satellite") {
          const auto number = ParseNumber<int>(value);
          if (!number) return "satellite must be the number of a [satellite N] section";
          dishSatellite_ = *number;
          dishLine_ = line_;
          return {};
        }
        break;
      case SectionKind::Satellite:
        if (key == "name") {
          if (value.empty()) return "name must not be empty";
          satellite_.name = value;
          return {};
        }
        if (key == "position") return ParsePosition(value, satellite_.orbitalEastDeg);
        if (key == "tp") {
          Transponder transponder;
          if (Problem p = ParseTransponder(value, transponder); !p.empty()) return "tp: " + p;
          satellite_.transponders.push_back(std::move(transponder));
          return {};
        }
        break;
      case SectionKind::None:
        break;
    }
    return "unknown key '" + key + "' in [" + header_ + "]";
  }

  static Problem ParseOscillator(std::string_view value, int& out) {
    const auto mhz = ParseNumber<int>(value);
    if (!mhz || *mhz <= 0 || *mhz > 30000) return "oscillator must be a whole number of MHz from 1 to 30000";
    out = *mhz;
    return {};
  }

  void RequireKeys(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      if (!keys_.count(name)) return Fail(headerLine_, "[" + header_ + "] needs " + name + "=");
    }
  }

  void CloseSection() {
    switch (kind_) {
      case SectionKind::Site:
        RequireKeys({"latitude", "longitude"});
        result_.sky.site = site_;
        break;
      case SectionKind::Lnb:
        RequireKeys({"low", "high"});
        result_.sky.lnb = lnb_;
        break;
      case SectionKind::Dish:
        RequireKeys({"satellite"});
        break;
      case SectionKind::Satellite:
        RequireKeys({"name", "position"});
        satellites_[satelliteNumber_] = std::move(satellite_);
        break;
      case SectionKind::None:
        break;
    }
    kind_ = SectionKind::None;
  }

  void Finish() {
    if (satellites_.empty()) return Fail(std::max(line_, 1), "no [satellite N] section");
    result_.sky.satellites.clear();
    result_.sky.pointedSatelliteIndex = 0;
    for (auto& [number, satellite] : satellites_) {
      if (dishSatellite_ && *dishSatellite_ == number) {
        result_.sky.pointedSatelliteIndex = static_cast<int>(result_.sky.satellites.size());
      }
      result_.sky.satellites.push_back(std::move(satellite));
    }
    if (dishSatellite_ && !satellites_.count(*dishSatellite_)) {
      Fail(dishLine_, "[dish] satellite=" + std::to_string(*dishSatellite_) + " names no [satellite " +
                          std::to_string(*dishSatellite_) + "]");
    }
  }

  SkyFileResult result_;
  SectionKind kind_ = SectionKind::None;
  std::string header_;
  int headerLine_ = 0;
  int line_ = 0;
  std::set<std::string> keys_;
  std::set<std::string> sections_;
  Site site_;
  Lnb lnb_;
  Satellite satellite_;
  int satelliteNumber_ = 0;
  std::map<int, Satellite> satellites_;
  std::optional<int> dishSatellite_;
  int dishLine_ = 0;
};

}  // namespace

bool IsSkySection(std::string_view name) {
  return name == "site" || name == "lnb" || name == "dish" || name.rfind("satellite", 0) == 0;
}

SkyFileResult ParseSky(const std::vector<IniSection>& sections) { return SkyParser().Parse(sections); }

}  // namespace sim
