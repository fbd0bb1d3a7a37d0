#include "app/signal_history_plot.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>

namespace {

const QColor kStrengthColour(0x15, 0x65, 0xC0);
const QColor kQualityColour(0xD9, 0x6A, 0x00);
const QColor kLockedShade(0x2E, 0xA0, 0x43, 0x38);
const QColor kGridColour(0xD8, 0xD8, 0xD8);

constexpr int kMinuteMs = 60 * 1000;

// Readings above 100 fill the plot, as they fill the strip's bars.
double Fraction(int value) { return std::clamp(value, 0, 100) / 100.0; }

}  // namespace

std::string MarginText(const SignalSample& sample) {
  if (!sample.marginDb) return {};
  char text[32];
  std::snprintf(text, sizeof text, "margin %.1f dB", *sample.marginDb);
  return text;
}

SignalHistoryPlot::SignalHistoryPlot(const SignalHistory& history, Style style, QWidget* parent)
    : QWidget(parent), m_history(history), m_style(style) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (m_style == Style::Compact) {
    setToolTip(QStringLiteral("Signal history: click for a larger view"));
    setCursor(Qt::PointingHandCursor);
  }
}

QSize SignalHistoryPlot::sizeHint() const { return m_style == Style::Compact ? QSize(160, 20) : QSize(380, 190); }

QRect SignalHistoryPlot::PlotArea() const {
  if (m_style == Style::Compact) return rect().adjusted(1, 1, -4, -2);  // clear of the window's edge
  const int line = fontMetrics().height();
  return rect().adjusted(32, line + 8, -10, -(line + 6));
}

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
  const QRect area = PlotArea();
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

  if (m_style == Style::Detailed) {
    p.setPen(kGridColour);
    for (int percent = 0; percent <= 100; percent += 25) p.drawLine(QPointF(area.left(), yOf(percent)), QPointF(area.right(), yOf(percent)));
    p.setPen(palette().color(QPalette::WindowText));
    for (int percent : {0, 50, 100})
      p.drawText(QRectF(0, yOf(percent) - 8, area.left() - 4, 16), Qt::AlignRight | Qt::AlignVCenter, QString::number(percent));
    const int minutes = static_cast<int>(SignalHistory::kSpanMs / kMinuteMs);
    for (int m = 0; m <= minutes; ++m) {
      const double x = area.right() - static_cast<double>(m) * kMinuteMs / SignalHistory::kSpanMs * area.width();
      p.setPen(kGridColour);
      if (m > 0 && m < minutes) p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
      p.setPen(palette().color(QPalette::WindowText));
      const QString label = m == 0 ? QStringLiteral("now") : QStringLiteral("-%1 min").arg(m);
      const Qt::Alignment align = m == 0 ? Qt::AlignRight : (m == minutes ? Qt::AlignLeft : Qt::AlignHCenter);
      const double left = m == 0 ? x - 60 : (m == minutes ? x : x - 30);
      p.drawText(QRectF(left, area.bottom() + 3, 60, fontMetrics().height()), align | Qt::AlignTop, label);
    }
  }

  p.save();
  p.setClipRect(area);
  const auto runs = m_history.Runs();
  for (const auto& [first, last] : runs)
    for (std::size_t i = first; i + 1 < last; ++i)
      if (samples[i].locked)
        p.fillRect(QRectF(QPointF(xOf(samples[i].timeMs), area.top()), QPointF(xOf(samples[i + 1].timeMs), area.bottom() + 1)),
                   kLockedShade);
  p.setRenderHint(QPainter::Antialiasing);
  auto trace = [&](int SignalSample::*field, const QColor& colour) {
    p.setPen(QPen(colour, m_style == Style::Compact ? 1.4 : 1.6));
    for (const auto& [first, last] : runs) {
      QPainterPath path(QPointF(xOf(samples[first].timeMs), yOf(samples[first].*field)));
      for (std::size_t i = first + 1; i < last; ++i) path.lineTo(xOf(samples[i].timeMs), yOf(samples[i].*field));
      if (last - first == 1) p.drawPoint(path.currentPosition());
      else p.drawPath(path);
    }
  };
  trace(&SignalSample::strength, kStrengthColour);
  trace(&SignalSample::quality, kQualityColour);
  p.restore();

  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(area);
  if (m_style == Style::Compact &&
      std::none_of(samples.begin(), samples.end(), [](const SignalSample& sample) { return sample.locked; })) {
    // Not a blank box until the first lock: what it will show, and its half-way line.
    p.setPen(QPen(kGridColour, 1, Qt::DotLine));
    p.drawLine(QPointF(area.left(), yOf(50)), QPointF(area.right(), yOf(50)));
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(area, Qt::AlignCenter, QStringLiteral("signal history"));
  }

  if (m_style == Style::Detailed) {
    const QRectF legend(area.left(), 3, area.width(), fontMetrics().height());
    if (m_history.Empty()) {
      p.setPen(palette().color(QPalette::WindowText));
      p.drawText(legend, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("No readings yet"));
      return;
    }
    const SignalSample& last = m_history.Newest();
    const QString parts[] = {QStringLiteral("Strength %1").arg(last.strength), QStringLiteral("Quality %1").arg(last.quality),
                             last.locked ? QStringLiteral("LOCKED") : QStringLiteral("UNLOCKED"),
                             QString::fromStdString(MarginText(last))};
    const QColor colours[] = {kStrengthColour, kQualityColour, palette().color(QPalette::WindowText),
                              palette().color(QPalette::WindowText)};
    double x = legend.left();
    for (int i = 0; i < 4; ++i) {
      if (parts[i].isEmpty()) continue;
      p.setPen(colours[i]);
      p.drawText(QRectF(x, legend.top(), legend.right() - x, legend.height()), Qt::AlignLeft | Qt::AlignVCenter, parts[i]);
      x += fontMetrics().horizontalAdvance(parts[i]) + 18;
    }
  }
}
