// info: what the card's tuners can do (a real card: every DVB frontend of
// the system, the card's marked), one block each, or one JSON line each.
#include <algorithm>
#include <cctype>

#include "cli/commands.h"
#include "tuner/card_capabilities.h"

namespace {

// "delivery systems" -> "delivery_systems", "LNB voltage" -> "lnb_voltage".
std::string JsonKey(std::string fact) {
  std::transform(fact.begin(), fact.end(), fact.begin(), [](unsigned char c) {
    return c == ' ' || c == '/' ? '_' : static_cast<char>(std::tolower(c));
  });
  return fact;
}

}  // namespace

void RunInfo(const CommandContext& context) {
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  const auto reports = ReadCardCapabilities();
  if (!reports) {
    context.console.Error("the card's tuner gives no capability report");
    return;
  }
  for (const CapabilityReport& report : *reports) {
    JsonObject json;
    json.Text("title", report.title).Bool("in_use", report.inUse);
    for (const auto& [fact, value] : report.facts) json.Text(JsonKey(fact), value);
    const std::string text = CapabilitiesText({report});
    context.console.Result("frontend", json, text.substr(0, text.size() - 1));
  }
}
