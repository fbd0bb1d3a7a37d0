#include "platform/linuxdvb/sec_plan.h"

#include <cstdio>

namespace linuxdvb {
namespace {

SecStep Voltage(LnbVoltage voltage) { return {SecStep::Kind::SetVoltage, voltage, Tone::Off, 0, {}}; }
SecStep ToneStep(Tone tone) { return {SecStep::Kind::SetTone, LnbVoltage::Off, tone, 0, {}}; }
SecStep Pause(std::uint32_t ms) { return {SecStep::Kind::Pause, LnbVoltage::Off, Tone::Off, ms, {}}; }

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

std::vector<SecStep> PlanSec(LnbVoltage voltage, Tone tone, const std::vector<std::uint8_t>& message,
                             const SecPauses& pauses) {
  std::vector<SecStep> steps{Voltage(voltage), ToneStep(Tone::Off), Pause(pauses.beforeMessageMs)};
  if (!message.empty()) {
    steps.push_back({SecStep::Kind::SendDiseqc, LnbVoltage::Off, Tone::Off, 0, message});
    steps.push_back(Pause(pauses.afterMessageMs));
  }
  if (tone == Tone::On) steps.push_back(ToneStep(Tone::On));
  return steps;
}

std::string DescribeSec(const std::vector<SecStep>& steps) {
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
    }
    text += (text.empty() ? "" : ", ") + part;
  }
  return text;
}

}  // namespace linuxdvb
