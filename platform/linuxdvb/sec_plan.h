// The satellite equipment control sequence: LNB voltage, 22 kHz tone, DiSEqC
// messages and the tone burst in the order LNBs, switches and motors expect:
// the target voltage first, tone off, a pause, the DiSEqC message, a pause,
// the burst, a pause, then the tone the band needs. The DiSEqC bus and the
// burst use the 22 kHz carrier itself, so the continuous tone must be off
// while they go out, and the devices on the bus need the pauses to settle.
// A voltage or tone that is already as wanted is not set again, and a pause
// that follows no change is left out. Pure planning; the frontend carries
// the steps out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace linuxdvb {

enum class LnbVoltage { Off, V13, V18 };
enum class Tone { Off, On };
enum class Burst { A, B };

struct SecPauses {
  std::uint32_t beforeMessageMs = 15;  // after a voltage change and tone off, before a message, burst or the tone
  std::uint32_t afterMessageMs = 15;   // after a message or a burst
};

// What the frontend last set; none where it does not know (just opened, or
// a call failed).
struct SecState {
  std::optional<LnbVoltage> voltage;
  std::optional<Tone> tone;
};

struct SecRequest {
  LnbVoltage voltage = LnbVoltage::V13;
  Tone tone = Tone::Off;
  std::vector<std::uint8_t> message;  // a DiSEqC message, or empty
  std::optional<Burst> burst;
};

struct SecStep {
  enum class Kind { SetVoltage, SetTone, Pause, SendDiseqc, SendBurst };
  Kind kind;
  LnbVoltage voltage = LnbVoltage::Off;
  Tone tone = Tone::Off;
  std::uint32_t pauseMs = 0;
  std::vector<std::uint8_t> message;
  Burst burst = Burst::A;
};

std::vector<SecStep> PlanSec(const SecState& now, const SecRequest& want, const SecPauses& pauses);

// One line for the backend's log: "18 V, tone off, 15 ms, DiSEqC E0 10 38 F3,
// 15 ms, tone on"; "nothing to change" for no steps.
std::string DescribeSec(const std::vector<SecStep>& steps);

// The voltage and band a DiSEqC 1.0 committed-switch write (E0..E3, any
// address, command 38) selects: its data byte's bit 1 horizontal (18 V),
// bit 0 high band (tone on). None for any other message, and for a write
// whose high nibble leaves band or polarisation unchanged.
struct SwitchSupply {
  LnbVoltage voltage;
  Tone tone;
};
std::optional<SwitchSupply> CommittedSwitchSupply(const std::vector<std::uint8_t>& message);

}  // namespace linuxdvb
