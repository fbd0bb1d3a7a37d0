// The signal history as the operator sees it: a small plot in the free
// corner of the sheet's tab row (the fixed window has no other room), the
// "Signal alignment" window that a click on it or the window's context menu
// opens, and the link margin as the tooltip of the quality's value and bar.
//
// It is fed once per monitor cycle with the readings the status strip shows
// and never reads the driver itself. It keeps the history and the quality's
// peak whether or not the alignment window is open, so the window shows
// both from before it was opened. Record may be called from any thread: it
// runs on the UI thread and waits, like the strip's own updates. The rest is
// UI thread only.
#pragma once

#include <QPointer>
#include <QWidget>

#include "app/alignment_view.h"
#include "app/peak_hold.h"
#include "app/signal_history.h"
#include "app/signal_history_plot.h"

class CDialog;
class QTabWidget;

// Where the alignment window goes: right of the main window's frame, its top
// at `top`; left of the frame when the screen has no room on the right;
// always inside the screen.
QPoint PlaceBeside(const QRect& frame, int top, QSize size, const QRect& screen);

class SignalTrend {
 public:
  SignalTrend() = default;
  SignalTrend(const SignalTrend&) = delete;
  SignalTrend& operator=(const SignalTrend&) = delete;

  // Puts the small plot into the sheet's corner and the window's menu item
  // into the window's context menu. window holds the strip's controls.
  void Attach(CDialog& window, QTabWidget* sheet);

  void Record(const SignalSample& sample);

  // Opens (or raises) the "Signal alignment" window beside the main window.
  void ShowWindow();

  const SignalHistory& History() const { return m_history; }
  const PeakHold& Peak() const { return m_peak; }
  SignalHistoryPlot* CornerPlot() const { return m_corner; }
  AlignmentView* AlignmentWindow() const { return m_window; }

 private:
  void Repaint();

  SignalHistory m_history;
  PeakHold m_peak;
  CDialog* m_dialog = nullptr;
  QPointer<SignalHistoryPlot> m_corner;
  QPointer<AlignmentView> m_window;
};
