// "Go" on the Motor/Positioner page: USALS from the page's inputs, what it
// computed and sent, and the dish's motion where the driver reports it.
#include <cstdio>

#include "platform/media/bda_interfaces.h"
#include "platform/media/positioner_status.h"
#include "positioner/position_dlg.h"
#include "positioner/usals.h"
#include "tuner/text_numbers.h"
#include "tuner/tuner_context.h"
#include "tuner/tuner_extension.h"

namespace {

constexpr char kErrorCaption[] = "Error";

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

std::string HexBytes(const std::array<std::uint8_t, 5>& bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, text.empty() ? "%02X" : " %02X", byte);
    text += hex;
  }
  return text;
}

// Why nothing went out, for the operator checking an installation.
std::string NotSentText(const usals::Result& result) {
  if (result.status == usals::Status::InvalidInput) return "Nothing sent: satellite, longitude or latitude out of range";
  if (result.longitudeDifference > usals::kLongitudeDifferenceLimit)
    return Printf("Nothing sent: %.1f\u00B0 apart in longitude (65\u00B0 at most)", result.longitudeDifference);
  if (result.unsignedAngle > usals::kAngleLimit)
    return Printf("Nothing sent: motor angle %.1f\u00B0 beyond 65\u00B0", result.unsignedAngle);
  return "Nothing sent: satellite at the site's own longitude";
}

// The motor angle and the message, and what became of it.
std::string SentText(const usals::Result& result, DiseqcSendResult sent) {
  const std::string angle = Printf("Angle %.3f\u00B0: ", result.angle);
  const std::string bytes = HexBytes(result.message);
  switch (sent) {
    case DiseqcSendResult::Sent: return angle + "sent " + bytes;
    case DiseqcSendResult::NoDriver: return angle + bytes + " not sent, no tuner";
    case DiseqcSendResult::Refused: return angle + bytes + " refused by the driver";
  }
  return angle + bytes;
}

}  // namespace

void CPositionDlg::OnGo() {
  const std::string satellite = GetDlgItemText(IDC_POS_SATELLITE);
  const std::string latitude = GetDlgItemText(IDC_POS_LATITUDE);
  const std::string longitude = GetDlgItemText(IDC_POS_LONGITUDE);
  m_strSatellite = satellite;
  m_strLatitude = latitude;
  m_strLongitude = longitude;
  m_strCountry = GetDlgItemText(IDC_POS_COUNTRY);
  m_strCity = GetDlgItemText(IDC_POS_CITY);
  UsalsGoto(AtofText(FirstCharacters(satellite, 4)), AtofText(longitude), AtofText(latitude));
}

int CPositionDlg::UsalsGoto(double satellitePosition, double longitude, double latitude) {
  const usals::Result result = usals::Compute(satellitePosition, longitude, latitude);
  if (result.status != usals::Status::Ok) {
    SetDlgItemText(IDC_POS_USALS_OUTCOME, NotSentText(result));
    const char* text = result.status == usals::Status::InvalidInput
                           ? "Longitude or Latitude error!"
                           : "Can not reach this satellite from your location!";
    MessageBox(this, text, kErrorCaption, MB_OK | MB_ICONSTOP);
    return 1;
  }
  const DiseqcSendResult sent = SendPositionerMessage(result.message.data(), result.message.size());
  SetDlgItemText(IDC_POS_USALS_OUTCOME, SentText(result, sent));
  return 0;
}

void CPositionDlg::ShowDishMotion() {
  std::string text;
  ComPtr<IPositionerStatus> status;
  double angle = 0;
  BOOL moving = 0;
  if (IKsPropertySet* driver = TheTunerContext().m_pKsCtrl.Get();
      driver && SUCCEEDED(driver->QueryInterface(IID_PPV_ARGS(status.ReleaseAndGetAddressOf()))) && status &&
      SUCCEEDED(status->GetPosition(&angle, &moving))) {
    text = Printf("Dish %.2f\u00B0, ", angle) + (moving ? "moving" : "stopped");
  }
  if (GetDlgItemText(IDC_POS_DISH_MOTION) != text) SetDlgItemText(IDC_POS_DISH_MOTION, text);
}
