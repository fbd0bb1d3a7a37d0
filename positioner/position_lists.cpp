// The Motor/Positioner page's city and satellite lists. Nothing is cached:
// each operation reads its file again, so edits to the city list count at
// the next selection change and edits to the satellite files when the page
// is next created.
#include "platform/ui/debug_output.h"
#include "platform/ui/message_box.h"
#include "positioner/city_list.h"
#include "positioner/position_dlg.h"
#include "positioner/satellite_list.h"
#include "settings/program_folder.h"

namespace {

// The cities of `country`'s first block go into the City list; the first
// one's coordinates into the edits.
void ShowCitiesOf(CDialog& page, const std::vector<std::string>& lines, const std::string& country) {
  const std::vector<CityLine> block = FirstBlockOf(lines, country);
  for (const CityLine& line : block) page.ComboAddString(IDC_POS_CITY, line.city);
  if (!block.empty()) {
    page.SetDlgItemText(IDC_POS_LATITUDE, block.front().latitude);
    page.SetDlgItemText(IDC_POS_LONGITUDE, block.front().longitude);
  }
}

}  // namespace

void CPositionDlg::FillCountryList() {
  ComboResetContent(IDC_POS_COUNTRY);
  const auto lines = ReadCityList(CityListPath());
  if (!lines) return;  // no list, no message
  for (const std::string& line : *lines) {
    const std::string country = SplitCityLine(line).country;
    if (ComboFindStringExact(IDC_POS_COUNTRY, country) < 0) ComboAddString(IDC_POS_COUNTRY, country);
  }
  ComboSetCurSel(IDC_POS_COUNTRY, 0);
  ShowCitiesOf(*this, *lines, SelectedText(IDC_POS_COUNTRY));
  ComboSetCurSel(IDC_POS_CITY, 0);
}

void CPositionDlg::FillCityList() {
  ComboResetContent(IDC_POS_CITY);
  const std::string country = SelectedText(IDC_POS_COUNTRY);
  if (const auto lines = ReadCityList(CityListPath())) ShowCitiesOf(*this, *lines, country);
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
  const bool noCities = ComboGetCount(IDC_POS_COUNTRY) == 0;
  const bool noSatellites = ComboGetCount(IDC_POS_SATELLITE) == 0;
  if (!noCities && !noSatellites) return;
  // One short line fits the page; where it looked goes to the debug output.
  const char* missing = noCities && noSatellites ? "No city list or satellite files"
                        : noCities               ? "No city list"
                                                 : "No satellite files";
  SetDlgItemText(IDC_POS_USALS_OUTCOME, std::string(missing) + ": type the values");
  std::string where = ProgramFolder();
  if (!ShippedDataFolder().empty() && ShippedDataFolder() != ProgramFolder()) where += " or " + ShippedDataFolder();
  OutputDebugString(std::string(missing) + " (" + kCityListFileName + ", " + kTransponderFolderName + "/) in " + where);
}

void CPositionDlg::FillSatelliteList() {
  ComboResetContent(IDC_POS_SATELLITE);
  const std::string folder = ProgramFile(kTransponderFolderName);
  for (const std::string& name : SatelliteFileNames(folder))
    ComboAddString(IDC_POS_SATELLITE, SatelliteEntryText(folder + "/" + name));
  ComboSetCurSel(IDC_POS_SATELLITE, 0);
  // Before the first "Go" there is no recorded text: the first entry stays.
  if (!m_strSatellite.empty()) ComboSelectString(IDC_POS_SATELLITE, 0, m_strSatellite);
}
