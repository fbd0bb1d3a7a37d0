#include "platform/linuxdvb/sec_plan.h"

#include <cstdio>

namespace linuxdvb {
namespace {

SecStep VoltageStep(LnbVoltage voltage) { return {SecStep::Kind::SetVoltage, voltage, Tone::Off, 0, {}, Burst::A}; }
SecStep ToneStep(Tone tone) { return {SecStep::Kind::SetTone, LnbVoltage::Off, tone, 0, {}, Burst::A}; }
SecStep PauseStep(std::uint32_t ms) { return {SecStep::Kind::Pause, LnbVoltage::Off, Tone::Off, ms, {}, Burst::A}; }

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    char two[4];
    std::snprintf(two, sizeof two, "%02X", byte);
    text += (text.empty() ? "" : " ") + std::string(two);
  }
  return text;
}

}  // namespace

std::vector<SecStep> PlanSec(const SecState& now, const SecRequest& want, const SecPauses& pauses) {
  std::vector<SecStep> steps;
  bool changed = false;
  if (now.voltage != want.voltage) {
    steps.push_back(VoltageStep(want.voltage));
    changed = true;
  }
  std::optional<Tone> tone = now.tone;
  if (!want.message.empty() || want.burst) {
    if (tone != Tone::Off) steps.push_back(ToneStep(Tone::Off));
    tone = Tone::Off;
    steps.push_back(PauseStep(pauses.beforeMessageMs));
    if (!want.message.empty()) {
      steps.push_back({SecStep::Kind::SendDiseqc, LnbVoltage::Off, Tone::Off, 0, want.message, Burst::A});
      steps.push_back(PauseStep(pauses.afterMessageMs));
    }
    if (want.burst) {
      steps.push_back({SecStep::Kind::SendBurst, LnbVoltage::Off, Tone::Off, 0, {}, *want.burst});
      steps.push_back(PauseStep(pauses.afterMessageMs));
    }
  } else if (changed) {
    // The LNB settles on its new supply before the tone or the tune.
    steps.push_back(PauseStep(pauses.beforeMessageMs));
  }
  if (tone != want.tone) steps.push_back(ToneStep(want.tone));
  return steps;
}

std::string DescribeSec(const std::vector<SecStep>& steps) {
  if (steps.empty()) return "nothing to change";
  std::string text;
  for (const SecStep& step : steps) {
    std::string part;
    switch (step.kind) {
      case SecStep::Kind::SetVoltage:
        part = step.voltage == LnbVoltage::V18 ? "18 V" : step.voltage == LnbVoltage::V13 ? "13 V" : "voltage off";
        break;
      case SecStep::Kind::SetTone: part = step.tone == Tone::On ? "tone on" : "tone off"; break;
      case SecStep::Kind::Pause: part = std::to_string(step.pauseMs) + " ms"; break;
      case SecStep::Kind::SendDiseqc: part = "DiSEqC " + Hex(step.message); break;
      case SecStep::Kind::SendBurst: part = step.burst == Burst::A ? "burst A" : "burst B"; break;
    }
    text += (text.empty() ? "" : ", ") + part;
  }
  return text;
}

std::optional<SwitchSupply> CommittedSwitchSupply(const std::vector<std::uint8_t>& message) {
  if (message.size() != 4 || (message[0] & 0xFC) != 0xE0 || message[2] != 0x38) return std::nullopt;
  const std::uint8_t data = message[3];
  if ((data & 0x30) != 0x30) return std::nullopt;  // the write leaves band or polarisation as they are
  return SwitchSupply{(data & 0x02) ? LnbVoltage::V18 : LnbVoltage::V13, (data & 0x01) ? Tone::On : Tone::Off};
}

}  // namespace linuxdvb
