#include "positioner/usals_text.h"

#include <cstdio>

#include "tuner/text_numbers.h"

namespace {

// The first `count` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, size_t count) {
  size_t end = 0;
  for (size_t characters = 0; end < text.size() && characters < count; ++characters) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

std::string Printf(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string AngleText(const usals::Result& result) { return Printf("Angle %.3f\u00B0: ", result.angle); }

}  // namespace

double SatellitePositionValue(const std::string& satelliteText) { return AtofText(FirstCharacters(satelliteText, 4)); }

std::string UsalsErrorText(const usals::Result& result) {
  switch (result.status) {
    case usals::Status::InvalidInput: return "Longitude or Latitude error!";
    case usals::Status::BelowHorizon:
      return Printf("The satellite is below your horizon (elevation %.1f\u00B0).", result.elevation);
    default: return "Can not reach this satellite from your location!";
  }
}

std::string HexBytesText(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, text.empty() ? "%02X" : " %02X", byte);
    text += hex;
  }
  return text;
}

std::string UsalsNotSentText(const usals::Result& result) {
  if (result.status == usals::Status::InvalidInput) return "Nothing sent: satellite, longitude or latitude out of range";
  if (result.status == usals::Status::BelowHorizon)
    return Printf("Nothing sent: the satellite is %.1f\u00B0 below the horizon", -result.elevation);
  if (result.longitudeDifference > usals::kLongitudeDifferenceLimit)
    return Printf("Nothing sent: %.1f\u00B0 apart in longitude (65\u00B0 at most)", result.longitudeDifference);
  if (result.unsignedAngle > usals::kAngleLimit)
    return Printf("Nothing sent: motor angle %.1f\u00B0 beyond 65\u00B0", result.unsignedAngle);
  return "Nothing sent: satellite at the site's own longitude";
}

std::string UsalsSentText(const usals::Result& result, DiseqcSendResult sent) {
  const std::string angle = AngleText(result);
  const std::string bytes = HexBytesText(result.message);
  switch (sent) {
    case DiseqcSendResult::Sent: return angle + "sent " + bytes;
    case DiseqcSendResult::NoDriver: return angle + bytes + " not sent, no tuner";
    case DiseqcSendResult::Refused: return angle + bytes + " refused by the driver";
  }
  return angle + bytes;
}

std::string UsalsDryRunText(const usals::Result& result) {
  return AngleText(result) + HexBytesText(result.message) + " (dry run, not sent)";
}
