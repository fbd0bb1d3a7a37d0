// The tool's own section of the settings file, "[Tessel]" beside the Tuner
// Setting page's "[Config]": what a user of this tool sets once for the
// installation and the window has no control for. Keys, all optional:
//   burst        = none | A | B     a tone-burst (mini-DiSEqC) switch's input
//   uncommitted  = 0..16            a DiSEqC 1.1 uncommitted switch's input (0: none)
//   ring_mb      = 0..4096          the capture ring in MiB (0: none; --ring-mb wins)
//   motor_speed  = 0.1..10          how fast the dish motor turns, degrees per second
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
  // Most DiSEqC 1.2 motors turn 1 to 2 degrees a second at 13 V.
  double motorSpeedDegPerSecond = 1.5;
};

ToolSettings ReadToolSettings(const std::string& path);

// "A" / "B" / "none" (any case); none for other text.
std::optional<ToneBurstInput> ParseToneBurst(const std::string& text);
