// What a USALS "Go" says, in the Motor/Positioner page and in rx40ctl: the
// satellite position read from its text, the error box texts, and the
// lines naming the angle and the message bytes, or why nothing was sent.
// Pure functions.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "positioner/usals.h"
#include "tuner/tuner_extension.h"

// The position value of a satellite text: its first four characters (an
// entry of the satellite list starts with them) read as atof reads them, so
// "0192 Sat 19.2E" gives 192.
double SatellitePositionValue(const std::string& satelliteText);

// The box text of a computation that sends nothing ("Longitude or Latitude
// error!", "Can not reach this satellite from your location!" or "The
// satellite is below your horizon (elevation -2.9°)."); caption
// kUsalsErrorCaption.
inline constexpr char kUsalsErrorCaption[] = "Error";
std::string UsalsErrorText(const usals::Result& result);

// A DiSEqC message's bytes as the lines show them: "E1 31 6E E1 50".
std::string HexBytesText(std::span<const std::uint8_t> bytes);

// Why nothing went out, for the operator checking an installation.
std::string UsalsNotSentText(const usals::Result& result);
// The motor angle and the message, and what became of it:
// "Angle -21.076°: sent E1 31 6E E1 50".
std::string UsalsSentText(const usals::Result& result, DiseqcSendResult sent);
// The same for a computation not meant to be sent:
// "Angle -21.076°: E1 31 6E E1 50 (dry run, not sent)".
std::string UsalsDryRunText(const usals::Result& result);
