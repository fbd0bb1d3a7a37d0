// A plot of the signal history: strength and quality over the history's
// span, the newest reading at the right edge, stretches with lock shaded.
// Compact: lines and shading only, for a small corner of the window.
// Detailed: with a scale, minute marks and a legend of the newest values.
// UI thread only; it reads the history when it paints.
#pragma once

#include <QWidget>
#include <functional>

#include "app/signal_history.h"

class SignalHistoryPlot final : public QWidget {
 public:
  enum class Style { Compact, Detailed };

  // history must outlive the plot.
  SignalHistoryPlot(const SignalHistory& history, Style style, QWidget* parent);

  // Runs handler when the operator clicks the plot with the left button.
  void OnClicked(std::function<void()> handler) { m_onClicked = std::move(handler); }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QRect PlotArea() const;

  const SignalHistory& m_history;
  const Style m_style;
  std::function<void()> m_onClicked;
};

// "margin 4.3 dB" when the driver reported the reading's link margin, else
// empty: the quality's tooltip and the detailed plot's legend.
std::string MarginText(const SignalSample& sample);
