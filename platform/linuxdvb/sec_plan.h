// The satellite equipment control sequence: LNB voltage, 22 kHz tone and
// DiSEqC messages in the order LNBs, switches and motors expect: set the
// voltage, tone off, wait, the DiSEqC message, wait, then the tone the band
// needs. The DiSEqC bus uses the 22 kHz carrier itself, so the continuous
// tone must be off while a message goes out, and the devices on the bus need
// the pauses to settle. Pure planning; the frontend carries the steps out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace linuxdvb {

enum class LnbVoltage { Off, V13, V18 };
enum class Tone { Off, On };

struct SecPauses {
  std::uint32_t beforeMessageMs = 15;  // after voltage and tone off, before a message (or the tune)
  std::uint32_t afterMessageMs = 15;   // after a message, before the tone goes back on
};

struct SecStep {
  enum class Kind { SetVoltage, SetTone, Pause, SendDiseqc };
  Kind kind;
  LnbVoltage voltage = LnbVoltage::Off;
  Tone tone = Tone::Off;
  std::uint32_t pauseMs = 0;
  std::vector<std::uint8_t> message;
};

// The steps for voltage and tone, with a DiSEqC message between them when
// message is not empty. A tone that is to stay off is not switched on again.
std::vector<SecStep> PlanSec(LnbVoltage voltage, Tone tone, const std::vector<std::uint8_t>& message,
                             const SecPauses& pauses);

// One line for the debug output: "18 V, tone off, 15 ms, DiSEqC E0 10 38 F3,
// 15 ms, tone on".
std::string DescribeSec(const std::vector<SecStep>& steps);

}  // namespace linuxdvb
