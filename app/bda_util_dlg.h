// The main window: banner, the three-page property sheet, the status strip
// (lock, strength, quality) with its signal history, the stream-information
// panel, and the signal monitor thread's life.
//
// Threads: everything here runs on the UI thread except MonitorMain, which
// runs on the monitor thread and touches the window only through the
// framework's synchronous control calls.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

#include "app/signal_trend.h"
#include "app/stream_info_panel.h"
#include "platform/com/clock.h"
#include "platform/ui/dialog.h"
#include "platform/ui/property_sheet.h"
#include "positioner/position_dlg.h"
#include "recording/capture_control_dlg.h"
#include "tuner/bdacontrol_dlg.h"

// F1 opens the named help file when it is installed, else the tool's own
// help page, which ships with the lists.
inline constexpr char kNamedHelpFile[] = "Lumobox-recorder.chm";
inline constexpr char kHelpPageFile[] = "rx40-tessel-help.html";

class CBDAUtilDlg : public CDialog {
 public:
  CBDAUtilDlg();
  ~CBDAUtilDlg() override;

  bool OnInitDialog() override;
  void OnDestroy() override;
  void OnHelp() override;
  bool PreTranslateMessage(QEvent* event) override;
  // Asks first while a recording runs; signals end the window without asking.
  void OnClose() override;
  void OnLButtonDown(QPoint clientPoint) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Opens the About box (the window's "&About" menu item).
  void OnAbout();
  // Shows what the card's tuners can do (the "Card capabilities..." item).
  void OnCardCapabilities();
  // "Apply": the input stream chosen in the list (button 1000).
  void OnApply();

  CPropertySheet& Sheet() { return m_Sheet; }
  CBdacontrolDlg& TunerPage() { return m_TunerPage; }
  StreamInfoPanel& StreamInfo() { return m_StreamInfo; }
  SignalTrend& Trend() { return m_Trend; }
  bool IsMonitorRunning() const { return m_bMonitorStarted && !m_bMonitorEnded; }

  // Control ids of the status strip, for the monitor.
  static constexpr int kLockTextId = 1032;

 private:
  friend class SignalMonitor;

  void ConnectMessageMap() override;
  void AddAboutMenuItem();
  void PlaceSheet();
  void StartMonitor();
  void StopMonitor();

  CBdacontrolDlg m_TunerPage;
  CUtiVirtualDamonDlg m_CapturePage;
  CPositionDlg m_PositionPage;
  CPropertySheet m_Sheet;
  std::atomic<int> m_nStopMonitor{0};
  // Set with the stop flag: cuts the monitor's waits short.
  WakeSignal m_MonitorWake;
  // Held by the monitor thread for its whole life.
  std::mutex m_hMonitorRunning;
  std::atomic<bool> m_bMonitorStarted{false};
  std::atomic<bool> m_bMonitorEnded{false};
  std::thread m_MonitorThread;
  // The panel's boxes and the input stream list (control 1049).
  StreamInfoPanel m_StreamInfo{*this, [this] { m_TunerPage.OnOK(); }};
  SignalTrend m_Trend;
};
