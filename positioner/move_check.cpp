#include "positioner/move_check.h"

#include <algorithm>
#include <cmath>

#include "positioner/satellite_list.h"
#include "positioner/usals.h"
#include "settings/ini_file.h"

int TravelSeconds(std::optional<double> fromDeg, double toDeg, double speedDegPerSecond) {
  const double travel =
      fromDeg ? std::abs(toDeg - *fromDeg) : usals::kAngleLimit + std::abs(toDeg);
  return static_cast<int>(std::ceil(travel / std::max(speedDegPerSecond, 0.01))) + 1;
}

std::string MovingText(const std::string& satelliteEntry, int secondsLeft) {
  return "Moving to " + satelliteEntry.substr(0, 4) + ": " + std::to_string(std::max(secondsLeft, 0)) + " s";
}

std::string ArrivedText(const ListedTransponder& reference, int quality) {
  return "Arrived: LOCKED on " + ListedTransponderText(reference) + " (quality " + std::to_string(quality) + ")";
}

std::string NoLockText(const std::string& satelliteEntry) {
  return "No lock on the reference transponder of " + satelliteEntry + " after the move";
}

std::string NotTunedText(const ListedTransponder& reference) {
  return "Arrival not checked: " + ListedTransponderText(reference) + " not tuned (LNB set on the Tuner page?)";
}

std::string NotVerifiableText(const std::string& satelliteEntry, bool fileFound) {
  return satelliteEntry + (fileFound ? ": no transponder list, arrival not checked"
                                     : ": no satellite file, arrival not checked");
}

ReferenceLookup FindReference(const std::string& folder, const std::string& satelliteEntry) {
  ReferenceLookup lookup;
  const std::optional<std::string> file = FindSatelliteFile(folder, satelliteEntry.substr(0, 4));
  lookup.fileFound = file.has_value();
  lookup.satellite = file ? SatelliteEntryText(*file) : satelliteEntry.substr(0, 4);
  if (!file) return lookup;
  // Only the first entry is the reference: a later one is another carrier.
  std::string error;
  lookup.reference = ParseListedTransponder(CIniFile(*file).GetValue(kTransponderSection, "1"), &error);
  return lookup;
}
