// The alignment window's plot: strength and quality on the left scale (in
// percent, as the strip shows them) and the link margin on the right scale
// (dB, when the driver reports it) over the history's span, the newest
// reading at the right edge, stretches with lock shaded, minute marks below.
// Each value is drawn twice: the readings thin and light, their smoothed
// trend bold, so the direction of a sweep shows through the jitter.
// UI thread only; it reads the history when it paints.
#pragma once

#include <QWidget>

#include "app/signal_history.h"

class AlignmentPlot final : public QWidget {
 public:
  // history must outlive the plot.
  AlignmentPlot(const SignalHistory& history, QWidget* parent);

  QSize sizeHint() const override { return {480, 230}; }
  QSize minimumSizeHint() const override { return {300, 140}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const SignalHistory& m_history;
};
