#include "platform/sim/stream_options.h"

#include "platform/sim/ini_values.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace sim {
namespace {

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::optional<StreamOptions> ParseStreamOptions(const IniSection& section, std::string* error) {
  StreamOptions options;
  for (const IniEntry& e : section.entries) {
    if (e.key == "replay") {
      if (e.value.size() <= 3 || !(EndsWith(e.value, ".ts") || EndsWith(e.value, ".TS"))) {
        *error = LineOf(e) + "replay names a transport stream file PATH.ts, not \"" + e.value + "\"";
        return std::nullopt;
      }
      options.replayFile = e.value;
      // A replay that cannot be read would lock and record nothing.
      if (std::ifstream file(e.value, std::ios::binary); !file) {
        *error = LineOf(e) + "replay file \"" + e.value + "\" cannot be read: " + std::strerror(errno);
        return std::nullopt;
      }
    } else if (e.key == "paced") {
      if (!ParseYesNo(e, &options.paced, error)) return std::nullopt;
    } else if (e.key == "sample_packets") {
      if (!ParseWholeNumber(e, &options.samplePackets, error)) return std::nullopt;
      if (options.samplePackets < 1 || options.samplePackets > StreamOptions::kMaxSamplePackets) {
        *error = LineOf(e) + "sample_packets is 1 to " + std::to_string(StreamOptions::kMaxSamplePackets) +
                 ", not " + e.value;
        return std::nullopt;
      }
    } else if (e.key == "continuity_error_every") {
      if (!ParseWholeNumber(e, &options.continuityErrorEvery, error)) return std::nullopt;
    } else if (e.key == "write_stall_ms") {
      if (!ParseWholeNumber(e, &options.writeStallMs, error)) return std::nullopt;
    } else if (e.key == "write_stall_after_bytes") {
      if (!ParseWholeNumber(e, &options.writeStallAfterBytes, error)) return std::nullopt;
    } else if (e.key == "write_fails_after_bytes") {
      std::uint64_t bytes = 0;
      if (!ParseWholeNumber(e, &bytes, error)) return std::nullopt;
      if (bytes != 0) options.writeFailsAfterBytes = bytes;
    } else {
      *error = LineOf(e) + "unknown key \"" + e.key + "\" in [stream]";
      return std::nullopt;
    }
  }
  if (options.continuityErrorEvery != 0 && !options.replayFile.empty()) {
    *error = LineOf(section) + "continuity_error_every applies to the generated stream, not to a replay";
    return std::nullopt;
  }
  return options;
}

}  // namespace sim
