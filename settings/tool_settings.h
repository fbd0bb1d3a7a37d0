// The tool's own section of the settings file, "[Tessel]" beside the Tuner
// Setting page's "[Config]": what a user of this tool sets once for the
// installation and the window has no control for. Keys, all optional:
//   burst        = none | A | B     a tone-burst (mini-DiSEqC) switch's input
//   uncommitted  = 0..16            a DiSEqC 1.1 uncommitted switch's input (0: none)
//   ring_mb      = 0..4096          the capture ring in MiB (0: none; --ring-mb wins)
// A value that does not read is taken as not set and named once on the
// debug output. Read when used, so an edit takes effect at the next tune.
#pragma once

#include <optional>
#include <string>

inline constexpr char kToolSection[] = "Tessel";

enum class ToneBurstInput { None, A, B };

struct ToolSettings {
  ToneBurstInput burst = ToneBurstInput::None;
  int uncommittedPort = 0;  // 1..16, 0 none
  std::optional<unsigned> ringMb;
};

ToolSettings ReadToolSettings(const std::string& path);

// "A" / "B" / "none" (any case); none for other text.
std::optional<ToneBurstInput> ParseToneBurst(const std::string& text);
