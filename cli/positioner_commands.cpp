// diseqc, motor and usals: the Tuner Setting page's "Set Motor" and the
// Motor/Positioner page's buttons and "Go" without the window.
#include <iterator>

#include "cli/commands.h"
#include "positioner/look_angles.h"
#include "positioner/move_check.h"
#include "positioner/satellite_list.h"
#include "positioner/dish_motion.h"
#include "positioner/positioner_commands.h"
#include "positioner/usals.h"
#include "positioner/usals_text.h"
#include "tuner/text_numbers.h"
#include "tuner/tuner_context.h"
#include "settings/program_folder.h"
#include "settings/tool_settings.h"
#include "settings/tuner_settings.h"
#include "tuner/tuner_extension.h"

namespace {

constexpr char kNoDriver[] = "nothing sent: the tuner offers no driver property set";

// The dish where the driver reports it, after a command that moves it.
void AddDish(JsonObject* json, std::string* text) {
  if (const std::optional<DishMotion> dish = ReadDishMotion()) {
    json->Object("dish", JsonObject().Real("angle_deg", dish->angleDeg, 2).Bool("moving", dish->moving));
    *text += " | " + DishMotionText(*dish);
  }
}

// What a verified move tunes once the dish is there: found, and its tune
// resolved, before anything is sent, so that a move that cannot be checked
// (or a missing LNB) is refused without turning the dish.
struct ArrivalCheck {
  ReferenceLookup lookup;
  TuneTarget target;
};

std::optional<ArrivalCheck> PrepareArrivalCheck(const CommandContext& context) {
  ArrivalCheck check;
  check.lookup = FindReference(ProgramFile(kTransponderFolderName), context.arguments.usals.satellite);
  if (!check.lookup.reference) {
    context.console.Error(NotVerifiableText(check.lookup.satellite, check.lookup.fileFound));
    return std::nullopt;
  }
  const std::optional<TuneTarget> target = ResolveListedTarget(context, *check.lookup.reference);
  if (!target) return std::nullopt;
  check.target = *target;
  return check;
}

// Waits the motor's travel, then tunes the satellite's reference
// transponder: the move counts as arrived only when it locks.
void VerifyArrival(const CommandContext& context, const CardSession& card, const ArrivalCheck& check, double angle,
                   std::optional<DishMotion> before) {
  const std::string& satellite = check.lookup.satellite;
  const double speed = ReadToolSettings(TunerSettingsPath()).motorSpeedDegPerSecond;
  const int travel = TravelSeconds(before ? std::optional(before->angleDeg) : std::nullopt, angle, speed);
  for (int left = travel; left > 0; --left) {
    context.console.Progress(MovingText(satellite, left));
    if (context.stop.SleepUnlessStopped(1000)) {
      context.console.EndProgress();
      context.console.Error(StopText(context.stop.Why()));
      return;
    }
  }
  context.console.EndProgress();
  const std::optional<TuneResult> tuned = SubmitTune(context, card, check.target);
  if (!tuned) return;
  const ListedTransponder& reference = *check.lookup.reference;
  JsonObject json;
  json.Text("satellite", satellite)
      .Integer("frequency_mhz", reference.frequencyMHz)
      .Text("polarisation", std::string(1, reference.polarisation))
      .Integer("symbol_rate_ks", reference.symbolRateKs)
      .Integer("travel_s", travel)
      .Bool("locked", tuned->wait.locked)
      .Integer("quality", tuned->wait.last.quality);
  std::string text = tuned->wait.locked ? ArrivedText(reference, tuned->wait.last.quality) : NoLockText(satellite);
  AddDish(&json, &text);
  context.console.Result("verify", json.Bool("verified", tuned->wait.locked), text);
  if (!tuned->wait.locked) context.console.Error("the move is not verified");
}

}  // namespace

void RunDiseqc(const CommandContext& context) {
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  // "Set Motor"'s steps and boxes; the bytes are sent as given, zeros too.
  if (!TheTunerContext().m_pKsCtrl) {
    AfxMessageBox("OnMotor m_pKsCtrl Failed");
    return;
  }
  const std::vector<std::uint8_t>& bytes = context.arguments.diseqc;
  MotorMessage message{};
  std::copy(bytes.begin(), bytes.end(), std::begin(message.bytes));
  message.length = static_cast<int>(bytes.size());
  if (!SendMotorMessage(nullptr, message)) return;
  context.console.Result("diseqc", JsonObject().Text("message", HexBytesText(bytes)).Bool("sent", true),
                         "sent " + HexBytesText(bytes));
}

void RunMotor(const CommandContext& context) {
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  const MotorArguments& motor = context.arguments.motor;
  switch (SendPositionerCommand(motor.command, motor.position)) {
    case DiseqcSendResult::NoDriver: context.console.Error(kNoDriver); return;
    case DiseqcSendResult::Refused: return;  // its box said so
    case DiseqcSendResult::Sent: break;
  }
  std::string text = PositionerSentText(motor.command, motor.position, DiseqcSendResult::Sent);
  JsonObject json;
  json.Text("messages", PositionerMessagesText(motor.command, motor.position)).Bool("sent", true);
  AddDish(&json, &text);
  context.console.Result("motor", json, text);
}

void RunUsals(const CommandContext& context) {
  const UsalsArguments& usals = context.arguments.usals;
  const usals::Result result =
      usals::Compute(SatellitePositionValue(usals.satellite), usals.longitude, usals.latitude);
  if (result.status == usals::Status::InvalidInput) {
    context.console.UsageError(UsalsErrorText(result));
    return;
  }
  if (result.status == usals::Status::BelowHorizon) {
    context.console.Error(UsalsErrorText(result));
    return;
  }
  if (result.status == usals::Status::Unreachable) {
    context.console.Error(UsalsErrorText(result) + " (" + UsalsNotSentText(result) + ")");
    return;
  }
  // Where a fixed dish would point, beside the motor angle, for the installer.
  const usals::LookAngles look = usals::ComputeLookAngles(usals.latitude, usals.longitude, result.satelliteEast);
  JsonObject json;
  json.Real("satellite_east", result.satelliteEast, 1)
      .Real("angle", result.angle, 3)
      .Text("message", HexBytesText(result.message))
      .Real("elevation_deg", look.elevationDeg, 1)
      .Real("azimuth_deg", look.azimuthDeg, 1)
      .Real("skew_deg", look.skewDeg, 1);
  const std::string angles = " | " + usals::LookAnglesText(look);
  if (usals.dryRun) {
    context.console.Result("usals", json.Bool("sent", false).Bool("dry_run", true), UsalsDryRunText(result) + angles);
    return;
  }
  std::optional<ArrivalCheck> check;
  if (usals.verify && !(check = PrepareArrivalCheck(context))) return;
  CardSession card(context.console, context.stop);
  if (!card.Open(context.arguments.common)) return;
  const std::optional<DishMotion> before = ReadDishMotion();
  const DiseqcSendResult sent = SendPositionerMessage(result.message.data(), result.message.size());
  if (sent == DiseqcSendResult::NoDriver) context.console.Error(kNoDriver);
  if (sent != DiseqcSendResult::Sent) return;  // a refusal's box said so
  std::string text = UsalsSentText(result, sent) + angles;
  json.Bool("sent", true).Bool("dry_run", false);
  AddDish(&json, &text);
  context.console.Result("usals", json, text);
  if (check) VerifyArrival(context, card, *check, result.angle, before);
}
