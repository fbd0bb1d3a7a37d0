// The Motor/Positioner page's life, keys, manual buttons and lists.
#include "positioner/position_dlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "platform/ui/debug_output.h"
#include "platform/ui/message_box.h"
#include "positioner/city_list.h"
#include "positioner/missing_lists.h"
#include "positioner/positioner_commands.h"
#include "positioner/satellite_list.h"
#include "settings/program_folder.h"

CPositionDlg::CPositionDlg() : CPropertyPage(IDD_POSITIONER) {}

CPositionDlg::~CPositionDlg() { DestroyWindow(); }

void CPositionDlg::ConnectMessageMap() {
  OnClicked(IDC_POS_GOTO, [this] { OnGoto(); });
  OnClicked(IDC_POS_STORE, [this] { OnStore(); });
  OnClicked(IDC_POS_LIMIT_EAST, [this] { OnLimitEast(); });
  OnClicked(IDC_POS_LIMIT_WEST, [this] { OnLimitWest(); });
  OnClicked(IDC_POS_LIMITS_RESET, [this] { OnLimitsReset(); });
  OnClicked(IDC_POS_STEP_EAST, [this] { OnStepEast(); });
  OnClicked(IDC_POS_STEP_WEST, [this] { OnStepWest(); });
  OnClicked(IDC_POS_STOP, [this] { OnStop(); });
  OnClicked(IDC_POS_DRIVE_EAST, [this] { OnDriveEast(); });
  OnClicked(IDC_POS_DRIVE_WEST, [this] { OnDriveWest(); });
  OnSelChange(IDC_POS_COUNTRY, [this] { FillCityList(); });
  OnSelChange(IDC_POS_CITY, [this] { ShowCityPosition(); });
  OnChange(IDC_POS_SATELLITE, [this] { ShowLookAngles(); });
  OnChange(IDC_POS_LATITUDE, [this] { ShowLookAngles(); });
  OnChange(IDC_POS_LONGITUDE, [this] { ShowLookAngles(); });
  OnClicked(IDC_POS_GO, [this] { OnGo(); });
}

bool CPositionDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  FillCountryList();
  FillSatelliteList();
  // Before the first "Go" nothing is recorded: the lists keep their first
  // entries selected.
  if (!m_strCountry.empty()) ComboSelectString(IDC_POS_COUNTRY, 0, m_strCountry);
  FillCityList();
  if (!m_strCity.empty()) ComboSelectString(IDC_POS_CITY, 0, m_strCity);
  // Nothing recorded yet: the selected city's coordinates, so that "Go"
  // points from a real place, not from empty boxes.
  if (m_strLatitude.empty() && m_strLongitude.empty() && ComboGetCurSel(IDC_POS_CITY) >= 0) {
    ShowCityPosition();
  } else {
    SetDlgItemText(IDC_POS_LATITUDE, m_strLatitude);
    SetDlgItemText(IDC_POS_LONGITUDE, m_strLongitude);
  }
  SayWhenNoListIsFound();
  ShowLookAngles();
  ShowDishMotion();
  SetTimer(kDishMotionTimer, kDishMotionIntervalMs);
  return true;
}

// Keys reach the page only from its own controls: a box it raises or a
// dropped-down list is a window of its own and keeps its keys.
bool CPositionDlg::PreTranslateMessage(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget())) button->click();
      else OnGo();
      return true;
    }
    if (key == Qt::Key_Escape) return true;
  }
  return CPropertyPage::PreTranslateMessage(event);
}

void CPositionDlg::OnTimer(int timerId) {
  if (timerId != kDishMotionTimer) return;
  ShowDishMotion();
  StepMoveCheck();
}

std::uint8_t CPositionDlg::PositionNumber() const { return StoredPositionByte(GetDlgItemText(IDC_POS_NUMBER)); }

void CPositionDlg::OnGoto() { SendMotorCommand(PositionerCommand::GotoPosition, PositionNumber()); }
void CPositionDlg::OnStore() { SendMotorCommand(PositionerCommand::StorePosition, PositionNumber()); }
void CPositionDlg::OnStepEast() { SendMotorCommand(PositionerCommand::StepEast); }
void CPositionDlg::OnStepWest() { SendMotorCommand(PositionerCommand::StepWest); }
void CPositionDlg::OnStop() { SendMotorCommand(PositionerCommand::Stop); }
void CPositionDlg::OnDriveEast() { SendMotorCommand(PositionerCommand::DriveEast); }
void CPositionDlg::OnDriveWest() { SendMotorCommand(PositionerCommand::DriveWest); }
void CPositionDlg::OnLimitEast() { SendMotorCommand(PositionerCommand::SetEastLimit); }
void CPositionDlg::OnLimitWest() { SendMotorCommand(PositionerCommand::SetWestLimit); }
void CPositionDlg::OnLimitsReset() { SendMotorCommand(PositionerCommand::LimitsOff); }

void CPositionDlg::SendMotorCommand(PositionerCommand command, std::uint8_t position) {
  // The result line says what went out, as it does for "Go".
  SetDlgItemText(IDC_POS_USALS_OUTCOME, PositionerSentText(command, position, SendPositionerCommand(command, position)));
}

std::string CPositionDlg::SelectedText(int comboId) const {
  return ComboGetLBText(comboId, ComboGetCurSel(comboId));
}

// The lists. Nothing is cached: each fill reads its file again, so edits to
// the city list count at the next selection change and edits to the
// satellite files when the page is next created.

void CPositionDlg::ShowCities(const std::vector<CityLine>& block) {
  for (const CityLine& line : block) ComboAddString(IDC_POS_CITY, line.city);
  // The block's first line, not the list's sorted first entry.
  if (!block.empty()) {
    SetDlgItemText(IDC_POS_LATITUDE, block.front().latitude);
    SetDlgItemText(IDC_POS_LONGITUDE, block.front().longitude);
  }
}

void CPositionDlg::FillCountryList() {
  ComboResetContent(IDC_POS_COUNTRY);
  const auto lines = ReadCityList(CityListPath());
  if (!lines) return;  // no list, no message
  // The list box matches names regardless of letter case: "france" after
  // "France" adds nothing.
  for (const std::string& country : CountriesOf(*lines))
    if (ComboFindStringExact(IDC_POS_COUNTRY, country) < 0) ComboAddString(IDC_POS_COUNTRY, country);
  ComboSetCurSel(IDC_POS_COUNTRY, 0);
  ShowCities(FirstBlockOf(*lines, SelectedText(IDC_POS_COUNTRY)));
  ComboSetCurSel(IDC_POS_CITY, 0);
}

void CPositionDlg::FillCityList() {
  ComboResetContent(IDC_POS_CITY);
  const std::string country = SelectedText(IDC_POS_COUNTRY);
  if (const auto lines = ReadCityList(CityListPath())) ShowCities(FirstBlockOf(*lines, country));
  ComboSetCurSel(IDC_POS_CITY, 0);
}

void CPositionDlg::ShowCityPosition() {
  const std::string country = SelectedText(IDC_POS_COUNTRY);
  const std::string city = SelectedText(IDC_POS_CITY);
  const auto lines = ReadCityList(CityListPath());
  if (!lines) {
    AfxMessageBox("open file error!");
    return;
  }
  if (const auto found = FindCity(*lines, country, city)) {
    SetDlgItemText(IDC_POS_LATITUDE, found->latitude);
    SetDlgItemText(IDC_POS_LONGITUDE, found->longitude);
  }
}

void CPositionDlg::SayWhenNoListIsFound() {
  const ListsFound found{ComboGetCount(IDC_POS_COUNTRY) > 0, ComboGetCount(IDC_POS_SATELLITE) > 0};
  const auto note = NoteMissingLists(found, ProgramFolder(), ShippedDataFolder());
  if (!note) return;
  SetDlgItemText(IDC_POS_USALS_OUTCOME, note->outcome);
  OutputDebugString(note->debugLine);
}

void CPositionDlg::FillSatelliteList() {
  ComboResetContent(IDC_POS_SATELLITE);
  for (const std::string& entry : SatelliteEntries(ProgramFile(kTransponderFolderName)))
    ComboAddString(IDC_POS_SATELLITE, entry);
  ComboSetCurSel(IDC_POS_SATELLITE, 0);
  // Before the first "Go" there is no recorded text: the first entry stays.
  if (!m_strSatellite.empty()) ComboSelectString(IDC_POS_SATELLITE, 0, m_strSatellite);
}
