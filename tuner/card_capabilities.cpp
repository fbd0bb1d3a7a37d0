#include "tuner/card_capabilities.h"

#include "tuner/tuner_context.h"

std::optional<std::vector<CapabilityReport>> ReadCardCapabilities() {
  ComPtr<ICardCapabilities> capabilities = TheTunerContext().m_pTunerFilter.As<ICardCapabilities>();
  std::vector<CapabilityReport> reports;
  if (!capabilities || FAILED(capabilities->GetCapabilities(&reports))) return std::nullopt;
  return reports;
}

std::string CapabilitiesText(const std::vector<CapabilityReport>& reports) {
  std::string text;
  for (const CapabilityReport& report : reports) {
    if (!text.empty()) text += "\n";
    text += report.title + (report.inUse ? " (this card)" : "") + "\n";
    for (const auto& [fact, value] : report.facts) text += "  " + fact + ": " + value + "\n";
  }
  return text;
}
