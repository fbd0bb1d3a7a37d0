// Whether a USALS move arrived: how long the motor needs for it, and what
// the tuner says on the satellite's reference transponder afterwards. The
// texts are the Motor/Positioner page's and rx40ctl's alike. Pure.
#pragma once

#include <optional>
#include <string>

#include "positioner/transponder_list.h"

// Seconds the motor needs from one angle to the other at speed, rounded up,
// plus a second for the motor to start and settle. With the start unknown
// (a driver that does not report the dish), the worst case: from the far
// end of the arc USALS sends.
int TravelSeconds(std::optional<double> fromDeg, double toDeg, double speedDegPerSecond);

// "Moving to 0192: 12 s"
std::string MovingText(const std::string& satelliteEntry, int secondsLeft);
// "Arrived: LOCKED on 11 362 H 22 000 (quality 90)"
std::string ArrivedText(const ListedTransponder& reference, int quality);
// "No lock on the reference transponder of 0192 Astra 1KR after the move"
std::string NoLockText(const std::string& satelliteEntry);
// "Arrival not checked: 11 362 H 22 000 not tuned (LNB set on the Tuner page?)"
std::string NotTunedText(const ListedTransponder& reference);
// Why a move to the satellite cannot be verified: "0192 Astra 1KR: no
// transponder list, arrival not checked" (or no satellite file at all).
std::string NotVerifiableText(const std::string& satelliteEntry, bool fileFound);

// The reference transponder of the satellite whose list entry (or position
// digits) is satelliteEntry, from the satellite files in folder; none when
// the satellite has no file or its file no readable first transponder.
struct ReferenceLookup {
  std::optional<ListedTransponder> reference;
  bool fileFound = false;
  // The satellite as its list entry names it ("0192  Astra 1KR"), or the
  // position digits when no file has it.
  std::string satellite;
};
ReferenceLookup FindReference(const std::string& folder, const std::string& satelliteEntry);
