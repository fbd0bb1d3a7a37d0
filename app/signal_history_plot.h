// The small plot of the signal history in the corner of the main window's
// tab row: strength and quality over the history's span, the newest reading
// at the right edge, stretches with lock shaded; lines and shading only. A
// click opens the alignment window. UI thread only; it reads the history
// when it paints.
#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "app/signal_history.h"

// The curves' colours, shared by every view of the readings.
QColor StrengthColour();
QColor QualityColour();
QColor MarginColour();
QColor LockedShade();
// Shades the stretches of the history read with lock, inside area, x from
// each reading's time.
void ShadeLockedStretches(QPainter& painter, const SignalHistory& history, const QRectF& area,
                          const std::function<double(std::uint64_t)>& xOf);

class QPainter;

class SignalHistoryPlot final : public QWidget {
 public:
  // history must outlive the plot.
  SignalHistoryPlot(const SignalHistory& history, QWidget* parent);

  // Runs handler when the operator clicks the plot with the left button.
  void OnClicked(std::function<void()> handler) { m_onClicked = std::move(handler); }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const SignalHistory& m_history;
  std::function<void()> m_onClicked;
};

// "margin 4.3 dB" when the driver reported the reading's link margin, else
// empty: the quality's tooltip in the status strip.
std::string MarginText(const SignalSample& sample);
