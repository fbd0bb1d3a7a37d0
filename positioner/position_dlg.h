// The Motor/Positioner page: drives a DiSEqC 1.2 positioner by hand (step,
// drive, stop, limits, stored positions) and points it by USALS at a
// satellite chosen from the city and satellite lists. It holds no driver
// state: every button sends its messages at once and forgets them.
//
// Beyond the classic controls, one label shows what the last "Go" computed
// and sent (or why nothing was sent), then counts the motor's travel down
// and says whether the satellite's reference transponder locks after it;
// another the dish's angle and motion while the driver reports a position
// (IPositionerStatus; only the simulated card does); a third where a fixed
// dish at the site would point (elevation, true azimuth, LNB skew).
//
// The inputs of the last "Go" are kept with the page object, which lives as
// long as the main window, so that a page window created again comes back
// with them; they are never written to disk. UI thread only; no lock.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/property_sheet.h"
#include "positioner/city_list.h"
#include "positioner/positioner_commands.h"
#include "positioner/transponder_list.h"
#include "resources/resource_ids.h"

class CPositionDlg : public CPropertyPage {
 public:
  CPositionDlg();
  ~CPositionDlg() override;

  // Tunes a listed transponder for the arrival check (the Tuner Setting
  // page does, so the window shows what the card is on); false when the
  // card did not take the tune. Without one, moves are not checked.
  using ReferenceTuner = std::function<bool(const ListedTransponder&)>;
  void SetReferenceTuner(ReferenceTuner tuner) { m_tuneReference = std::move(tuner); }

  bool OnInitDialog() override;
  // Escape does nothing on this page.
  void OnCancel() override {}
  // Enter presses the focused button, or else "Go".
  bool PreTranslateMessage(QEvent* event) override;
  void OnTimer(int timerId) override;

  // The manual buttons (fixed DiSEqC 1.2 commands, each sent twice).
  void OnGoto();
  void OnStore();
  void OnStepEast();
  void OnStepWest();
  void OnStop();
  void OnDriveEast();
  void OnDriveWest();
  void OnLimitEast();
  void OnLimitWest();
  void OnLimitsReset();

  // "Go": records the inputs, then points the dish by USALS.
  void OnGo();
  // Computes the motor angle and sends the angular goto once; 0 when the
  // message went out, 1 when an error box was shown instead.
  int UsalsGoto(double satellitePosition, double longitude, double latitude);

  // The lists, filled from what city_list.h and satellite_list.h read.
  void FillCountryList();
  void FillCityList();
  void ShowCityPosition();
  void FillSatelliteList();

  // Refreshes the dish's angle and motion from the driver, or empties the
  // label when the driver reports none.
  void ShowDishMotion();
  // Where a fixed dish would point for the typed site and chosen satellite.
  void ShowLookAngles();

  static constexpr int kDishMotionTimer = 1;
  static constexpr unsigned kDishMotionIntervalMs = 250;
  // How long the reference transponder has to lock once the dish is there.
  static constexpr std::uint64_t kReferenceLockWaitMs = 10'000;

 protected:
  void ConnectMessageMap() override;

 private:
  std::string SelectedText(int comboId) const;
  // A country's cities into the City list; the first one's coordinates
  // into the edits.
  void ShowCities(const std::vector<CityLine>& block);
  // The stored-position byte of the Position edit, read now.
  std::uint8_t PositionNumber() const;
  // Empty lists and no word would leave the user guessing.
  void SayWhenNoListIsFound();
  void SendMotorCommand(PositionerCommand command, std::uint8_t position = 0);
  // The arrival check of a USALS move (position_move_check.cpp).
  void StartMoveCheck(const std::string& satellite, double targetAngle, std::optional<double> startAngle);
  void StepMoveCheck();
  void EndMoveCheck(const std::string& outcome);

  struct MoveCheck {
    enum class Stage { Moving, Locking } stage = Stage::Moving;
    std::string satellite;
    ListedTransponder reference;
    std::uint64_t dueMs = 0;  // the dish arrives / the lock wait ends
  };
  std::optional<MoveCheck> m_moveCheck;
  ReferenceTuner m_tuneReference;
  // The last angle this page sent: where the dish went, when the driver
  // does not say where it is.
  std::optional<double> m_lastSentAngle;

  // The inputs at the last "Go".
  std::string m_strSatellite;
  std::string m_strCountry;
  std::string m_strCity;
  std::string m_strLatitude;
  std::string m_strLongitude;
};
