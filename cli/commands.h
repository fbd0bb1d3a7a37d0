// rx40ctl's commands, each on the card session it opens itself. They report
// on the console; its exit status says how they ended. The thread that
// runs a command makes every driver call of it.
#pragma once

#include <optional>

#include "cli/card_reading.h"
#include "cli/card_session.h"
#include "cli/cli_arguments.h"
#include "cli/console.h"
#include "cli/stop_request.h"
#include "cli/tune_target.h"
#include "positioner/transponder_list.h"
#include "tuner/transponder_tuning.h"

struct CommandContext {
  const CliArguments& arguments;
  Console& console;
  StopRequest& stop;
};

void RunTune(const CommandContext& context);
void RunStatus(const CommandContext& context);
void RunRecord(const CommandContext& context);
void RunDiseqc(const CommandContext& context);
void RunMotor(const CommandContext& context);
void RunUsals(const CommandContext& context);
void RunInfo(const CommandContext& context);
void RunScan(const CommandContext& context);
void RunAlign(const CommandContext& context);
void RunMonitor(const CommandContext& context);

// Shared by tune, status and record: the target from the arguments over the
// settings file (a usage error when there is nothing to tune), then, on the
// open card, the settings saved and "Lock TP"'s sequence, preceded by the
// input stream selection when one is asked for, and the wait for lock.
std::optional<TuneTarget> ResolveTarget(const CommandContext& context);
struct TuneResult {
  TuneOutcome outcome;
  LockWait wait;
  TUNER_STREAMTYPE_PARAMS stream{1, 0};  // the output the tune asked for
};
// A transponder of a satellite file with the tune options over the settings
// file (the LNB, the switch); a usage error when they give no LNB.
std::optional<TuneTarget> ResolveListedTarget(const CommandContext& context, const ListedTransponder& listed);
// The tune alone: no settings saved, nothing written but its errors. None
// when the card did not take it.
std::optional<TuneResult> SubmitTune(const CommandContext& context, const CardSession& card, const TuneTarget& target);
// Writes the "tune" result (locked or not, strength, quality, the time the
// wait took). None when the card did not take the tune (the reason was
// reported).
std::optional<TuneResult> TuneCard(const CommandContext& context, const CardSession& card, const TuneTarget& target);

// The error for a stop that ended what was running.
const char* StopText(StopRequest::Reason reason);
