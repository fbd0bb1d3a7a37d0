// "Go" on the Motor/Positioner page: USALS from the page's inputs, what it
// computed and sent, and the dish's motion where the driver reports it.
#include "positioner/dish_motion.h"
#include "positioner/look_angles.h"
#include "positioner/position_dlg.h"
#include "positioner/usals.h"
#include "positioner/usals_text.h"
#include "tuner/text_numbers.h"
#include "tuner/tuner_extension.h"

void CPositionDlg::OnGo() {
  const std::string satellite = GetDlgItemText(IDC_POS_SATELLITE);
  const std::string latitude = GetDlgItemText(IDC_POS_LATITUDE);
  const std::string longitude = GetDlgItemText(IDC_POS_LONGITUDE);
  m_strSatellite = satellite;
  m_strLatitude = latitude;
  m_strLongitude = longitude;
  m_strCountry = GetDlgItemText(IDC_POS_COUNTRY);
  m_strCity = GetDlgItemText(IDC_POS_CITY);
  // Empty or unreadable coordinates would point the dish from 0/0.
  const auto lat = PlainDecimal(latitude);
  const auto lon = PlainDecimal(longitude);
  if (!lat || !lon) {
    SetDlgItemText(IDC_POS_USALS_OUTCOME, "Nothing sent: latitude or longitude is not a number");
    usals::Result invalid;
    MessageBox(this, UsalsErrorText(invalid), kUsalsErrorCaption, MB_OK | MB_ICONSTOP);
    return;
  }
  UsalsGoto(SatellitePositionValue(satellite), *lon, *lat);
}

int CPositionDlg::UsalsGoto(double satellitePosition, double longitude, double latitude) {
  const usals::Result result = usals::Compute(satellitePosition, longitude, latitude);
  if (result.status != usals::Status::Ok) {
    SetDlgItemText(IDC_POS_USALS_OUTCOME, UsalsNotSentText(result));
    MessageBox(this, UsalsErrorText(result), kUsalsErrorCaption, MB_OK | MB_ICONSTOP);
    return 1;
  }
  const std::optional<DishMotion> before = ReadDishMotion();
  const DiseqcSendResult sent = SendPositionerMessage(result.message.data(), result.message.size());
  SetDlgItemText(IDC_POS_USALS_OUTCOME, UsalsSentText(result, sent));
  if (sent == DiseqcSendResult::Sent) {
    StartMoveCheck(m_strSatellite, result.angle, before ? std::optional(before->angleDeg) : m_lastSentAngle);
    m_lastSentAngle = result.angle;
  }
  return 0;
}

void CPositionDlg::ShowLookAngles() {
  const auto lat = PlainDecimal(GetDlgItemText(IDC_POS_LATITUDE));
  const auto lon = PlainDecimal(GetDlgItemText(IDC_POS_LONGITUDE));
  const std::string satellite = GetDlgItemText(IDC_POS_SATELLITE);
  std::string text, full;
  if (lat && lon && satellite.size() >= 4) {
    const usals::Result at = usals::Compute(SatellitePositionValue(satellite), *lon, *lat);
    if (at.status != usals::Status::InvalidInput) {
      const usals::LookAngles look = usals::ComputeLookAngles(*lat, *lon, at.satelliteEast);
      text = usals::ShortLookAnglesText(look);
      full = usals::LookAnglesText(look);
    }
  }
  if (GetDlgItemText(IDC_POS_LOOK_ANGLES) == text) return;
  SetDlgItemText(IDC_POS_LOOK_ANGLES, text);
  SetDlgItemToolTip(IDC_POS_LOOK_ANGLES, full);
}

void CPositionDlg::ShowDishMotion() {
  const std::optional<DishMotion> motion = ReadDishMotion();
  const std::string text = motion ? DishMotionText(*motion) : std::string();
  if (GetDlgItemText(IDC_POS_DISH_MOTION) != text) SetDlgItemText(IDC_POS_DISH_MOTION, text);
}
