// scan: a site survey of one satellite. Every transponder of a satellite
// file is tuned in turn and read once: lock, strength, quality, margin and
// the carrier the demodulator decoded, as a table (or one JSON object each).
#include <cstdio>

#include "cli/commands.h"
#include "settings/tuner_settings.h"

namespace {

// One layout for the header and the rows, so the columns line up.
std::string Columns(const std::string& transponder, const std::string& listed, const std::string& lock,
                    const std::string& strength, const std::string& quality, const std::string& margin,
                    const std::string& decoded) {
  char row[192];
  std::snprintf(row, sizeof row, "%-15s  %-6s  %-10s  %8s  %7s  %8s  %s", transponder.c_str(), listed.c_str(),
                lock.c_str(), strength.c_str(), quality.c_str(), margin.c_str(), decoded.c_str());
  std::string text = row;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string Row(const ListedTransponder& listed, const std::optional<CardReading>& reading) {
  const std::string transponder = ListedTransponderText(listed);
  const std::string system = listed.dvbs2 ? "DVB-S2" : "DVB-S";
  if (!reading) return Columns(transponder, system, "NO READING", "-", "-", "-", "");
  const SignalReading& signal = reading->signal;
  char margin[16] = "-";
  if (signal.marginDb) std::snprintf(margin, sizeof margin, "%.1f dB", *signal.marginDb);
  return Columns(transponder, system, signal.Locked() ? "LOCKED" : "UNLOCKED", std::to_string(signal.strength),
                 std::to_string(signal.quality), margin, DecodedCarrierText(*reading));
}

}  // namespace

void RunScan(const CommandContext& context) {
  const std::string& file = context.arguments.scan.satelliteFile;
  const TransponderList list = ReadTransponderList(file);
  for (const std::string& error : list.errors) context.console.Warning(error + " (skipped)");
  if (list.transponders.empty()) {
    context.console.UsageError(file + " lists no transponders (a [" + kTransponderSection +
                               "] section: 1=11362,H,22000,DVB-S2)");
    return;
  }
  // Every target first: a missing LNB is a usage error before the card opens.
  std::vector<TuneTarget> targets;
  for (const ListedTransponder& listed : list.transponders) {
    const std::optional<TuneTarget> target = ResolveListedTarget(context, listed);
    if (!target) return;
    targets.push_back(*target);
  }
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  if (!context.console.Json()) context.console.Result("scan", JsonObject(), Columns("TRANSPONDER", "LISTED", "LOCK", "STRENGTH", "QUALITY", "MARGIN", "DECODED"));
  int locked = 0;
  for (std::size_t i = 0; i < targets.size() && !context.stop.Requested(); ++i) {
    const ListedTransponder& listed = list.transponders[i];
    context.console.Progress("tuning " + ListedTransponderText(listed) + " (" + std::to_string(i + 1) + " of " +
                             std::to_string(targets.size()) + ")");
    const std::optional<TuneResult> tuned = SubmitTune(context, card, targets[i]);
    context.console.EndProgress();
    if (!tuned) continue;  // its reason was reported
    const std::optional<CardReading> reading = ReadCard();
    if (reading && reading->signal.Locked()) ++locked;
    JsonObject json;
    json.Integer("frequency_mhz", listed.frequencyMHz)
        .Text("polarisation", std::string(1, listed.polarisation))
        .Integer("symbol_rate_ks", listed.symbolRateKs)
        .Text("listed_system", listed.dvbs2 ? "DVB-S2" : "DVB-S");
    if (reading) json.Append(ReadingJson(*reading));
    context.console.Result("scan", json, Row(listed, reading));
  }
  if (context.stop.Requested()) {
    context.console.Error(StopText(context.stop.Why()));
    return;
  }
  const std::string summary = std::to_string(locked) + " of " + std::to_string(targets.size()) + " locked";
  context.console.Result("scan_summary",
                         JsonObject().Integer("locked", locked).Integer("transponders", static_cast<long long>(targets.size())),
                         summary);
  if (locked == 0) context.console.Error("no transponder of " + file + " locked");
}
