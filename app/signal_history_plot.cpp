#include "app/signal_history_plot.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>

namespace {

const QColor kGridColour(0xD8, 0xD8, 0xD8);

double Fraction(int value) { return ReadingPercent(value) / 100.0; }

}  // namespace

QColor StrengthColour() { return {0x15, 0x65, 0xC0}; }
QColor QualityColour() { return {0xD9, 0x6A, 0x00}; }
QColor MarginColour() { return {0x7B, 0x1F, 0xA2}; }
QColor LockedShade() { return {0x2E, 0xA0, 0x43, 0x38}; }

void ShadeLockedStretches(QPainter& painter, const SignalHistory& history, const QRectF& area,
                          const std::function<double(std::uint64_t)>& xOf) {
  const auto& samples = history.Samples();
  for (const auto& [first, last] : history.Runs())
    for (std::size_t i = first; i + 1 < last; ++i)
      if (samples[i].locked)
        painter.fillRect(QRectF(QPointF(xOf(samples[i].timeMs), area.top()),
                                QPointF(xOf(samples[i + 1].timeMs), area.bottom() + 1)),
                         LockedShade());
}

std::string MarginText(const SignalSample& sample) {
  if (!sample.marginDb) return {};
  char text[32];
  std::snprintf(text, sizeof text, "margin %.1f dB", *sample.marginDb);
  return text;
}

SignalHistoryPlot::SignalHistoryPlot(const SignalHistory& history, QWidget* parent) : QWidget(parent), m_history(history) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip(QStringLiteral("Signal history: click for the alignment view"));
  setCursor(Qt::PointingHandCursor);
}

QSize SignalHistoryPlot::sizeHint() const { return QSize(160, 20); }

void SignalHistoryPlot::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && m_onClicked) {
    m_onClicked();
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

void SignalHistoryPlot::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  const QRect area = rect().adjusted(1, 1, -4, -2);  // clear of the window's edge
  p.fillRect(area, palette().base());

  const auto& samples = m_history.Samples();
  const std::uint64_t newest = m_history.Empty() ? 0 : m_history.Newest().timeMs;
  auto xOf = [&](std::uint64_t timeMs) {
    const double age = static_cast<double>(newest - timeMs) / SignalHistory::kSpanMs;
    return area.right() - age * area.width();
  };
  // A line at 0 or 100 stays clear of the frame.
  const QRectF values = QRectF(area).adjusted(0, 2.5, 0, -2.5);
  auto yOf = [&](int value) { return values.bottom() - Fraction(value) * values.height(); };

  p.save();
  p.setClipRect(area);
  const auto runs = m_history.Runs();
  ShadeLockedStretches(p, m_history, area, xOf);
  p.setRenderHint(QPainter::Antialiasing);
  auto trace = [&](int SignalSample::*field, const QColor& colour) {
    p.setPen(QPen(colour, 1.4));
    for (const auto& [first, last] : runs) {
      QPainterPath path(QPointF(xOf(samples[first].timeMs), yOf(samples[first].*field)));
      for (std::size_t i = first + 1; i < last; ++i) path.lineTo(xOf(samples[i].timeMs), yOf(samples[i].*field));
      if (last - first == 1) p.drawPoint(path.currentPosition());
      else p.drawPath(path);
    }
  };
  trace(&SignalSample::strength, StrengthColour());
  trace(&SignalSample::quality, QualityColour());
  p.restore();

  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(area);
  if (std::none_of(samples.begin(), samples.end(), [](const SignalSample& sample) { return sample.locked; })) {
    // Not a blank box until the first lock: what it will show, and its half-way line.
    p.setPen(QPen(kGridColour, 1, Qt::DotLine));
    p.drawLine(QPointF(area.left(), yOf(50)), QPointF(area.right(), yOf(50)));
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(area, Qt::AlignCenter, QStringLiteral("signal history"));
  }
}
