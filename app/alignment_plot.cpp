#include "app/alignment_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "app/signal_history_plot.h"
#include "app/signal_smoothing.h"

namespace {

const QColor kGridColour(0xD8, 0xD8, 0xD8);
constexpr int kMinuteMs = 60 * 1000;
constexpr double kRawWidth = 1.3;
constexpr double kSmoothedWidth = 2.6;
constexpr int kRawAlpha = 140;

// The margin's scale: whole 5 dB steps around what was read, never less than
// 0..10 dB, so 0 dB (where the lock goes) is always on it.
struct DbScale {
  double low = 0, high = 10;
};

DbScale MarginScale(const std::deque<SignalSample>& samples) {
  DbScale scale;
  for (const auto& sample : samples) {
    if (!sample.marginDb) continue;
    scale.low = std::min(scale.low, std::floor(*sample.marginDb / 5) * 5);
    scale.high = std::max(scale.high, std::ceil(*sample.marginDb / 5) * 5);
  }
  return scale;
}

QColor Faded(QColor colour) {
  colour.setAlpha(kRawAlpha);
  return colour;
}

}  // namespace

AlignmentPlot::AlignmentPlot(const SignalHistory& history, QWidget* parent) : QWidget(parent), m_history(history) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void AlignmentPlot::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  const QFontMetrics metrics = fontMetrics();
  const int line = metrics.height();
  const auto& samples = m_history.Samples();
  const bool hasMargin = std::any_of(samples.begin(), samples.end(), [](const SignalSample& s) { return s.marginDb.has_value(); });
  const int leftAxis = metrics.horizontalAdvance(QStringLiteral("100")) + 8;
  const int rightAxis = hasMargin ? metrics.horizontalAdvance(QStringLiteral("-10")) + 10 : 12;
  const QRect area = rect().adjusted(leftAxis, line + 8, -rightAxis, -(line + 6));
  p.fillRect(area, palette().base());
  const QColor text = palette().color(QPalette::WindowText);

  const std::uint64_t newest = m_history.Empty() ? 0 : m_history.Newest().timeMs;
  auto xOf = [&](std::uint64_t timeMs) {
    const double age = static_cast<double>(newest - timeMs) / SignalHistory::kSpanMs;
    return area.right() - age * area.width();
  };
  // A line at either end of a scale stays clear of the frame.
  const QRectF values = QRectF(area).adjusted(0, 2.5, 0, -2.5);
  auto yOfPercent = [&](double value) { return values.bottom() - std::clamp(value, 0.0, 100.0) / 100.0 * values.height(); };
  const DbScale db = MarginScale(samples);
  auto yOfDb = [&](double value) {
    return values.bottom() - (std::clamp(value, db.low, db.high) - db.low) / (db.high - db.low) * values.height();
  };

  // Scales: percent on the left, dB on the right, minutes below.
  p.setPen(kGridColour);
  for (int percent = 0; percent <= 100; percent += 25)
    p.drawLine(QPointF(area.left(), yOfPercent(percent)), QPointF(area.right(), yOfPercent(percent)));
  p.setPen(text);
  for (int percent : {0, 50, 100})
    p.drawText(QRectF(0, yOfPercent(percent) - line / 2.0, leftAxis - 4, line), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(percent));
  p.drawText(QRectF(0, 2, leftAxis - 4, line), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%"));
  if (hasMargin) {
    p.setPen(MarginColour());
    const double step = (db.high - db.low) / 5 * line * 1.2 <= values.height() ? 5 : db.high - db.low;
    for (double value = db.low; value <= db.high + 0.01; value += step)
      p.drawText(QRectF(area.right() + 4, yOfDb(value) - line / 2.0, rightAxis - 4, line), Qt::AlignLeft | Qt::AlignVCenter,
                 QString::number(value));
    p.drawText(QRectF(area.right() + 4, 2, rightAxis - 4, line), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("dB"));
    p.setPen(QPen(Faded(MarginColour()), 1, Qt::DashLine));
    p.drawLine(QPointF(area.left(), yOfDb(0)), QPointF(area.right(), yOfDb(0)));
  }
  const int minutes = static_cast<int>(SignalHistory::kSpanMs / kMinuteMs);
  for (int m = 0; m <= minutes; ++m) {
    const double x = area.right() - static_cast<double>(m) * kMinuteMs / SignalHistory::kSpanMs * area.width();
    p.setPen(kGridColour);
    if (m > 0 && m < minutes) p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    p.setPen(text);
    const QString label = m == 0 ? QStringLiteral("now") : QStringLiteral("-%1 min").arg(m);
    const int width = metrics.horizontalAdvance(label);
    const double left = m == 0 ? x - width : (m == minutes ? x : x - width / 2.0);
    p.drawText(QRectF(left, area.bottom() + 3, width, line), Qt::AlignLeft | Qt::AlignTop, label);
  }

  // The legend: what each colour is and, at the right, which line is which.
  auto key = [&](double x, const QPen& pen, const QColor& colour, const QString& label) {
    p.setPen(pen);
    p.drawLine(QPointF(x, 3 + line / 2.0), QPointF(x + 14, 3 + line / 2.0));
    p.setPen(colour);
    p.drawText(QRectF(x + 18, 3, metrics.horizontalAdvance(label) + 2, line), Qt::AlignLeft | Qt::AlignVCenter, label);
    return x + 18 + metrics.horizontalAdvance(label);
  };
  const QString names[] = {QStringLiteral("Strength"), QStringLiteral("Quality"), QStringLiteral("Margin")};
  const QColor colours[] = {StrengthColour(), QualityColour(), MarginColour()};
  double x = area.left() + 6;  // clear of the scale's unit
  for (int i = 0; i < (hasMargin ? 3 : 2); ++i) x = key(x, QPen(colours[i], kSmoothedWidth), colours[i], names[i]) + 12;
  const QString readings = QStringLiteral("readings"), trend = QStringLiteral("2 s trend");
  const double lines = 18 + metrics.horizontalAdvance(readings) + 10 + 18 + metrics.horizontalAdvance(trend);
  const double linesLeft = area.right() - 12 - lines;  // clear of the margin scale's unit
  if (linesLeft >= x) {
    const QColor grey = palette().color(QPalette::PlaceholderText);
    key(key(linesLeft, QPen(Faded(grey), kRawWidth), grey, readings) + 10, QPen(grey, kSmoothedWidth), grey, trend);
  }

  p.save();
  p.setClipRect(area);
  const auto runs = m_history.Runs();
  ShadeLockedStretches(p, m_history, area, xOf);
  p.setRenderHint(QPainter::Antialiasing);
  // One line per run of readings; a value missing from a reading breaks it.
  auto trace = [&](const std::function<std::optional<double>(std::size_t)>& value, const std::function<double(double)>& yOf,
                   const QPen& pen) {
    p.setPen(pen);
    for (const auto& [first, last] : runs) {
      QPainterPath path;
      int points = 0;
      auto flush = [&] {
        if (points == 1) p.drawPoint(path.currentPosition());
        else if (points > 1) p.drawPath(path);
        path = QPainterPath();
        points = 0;
      };
      for (std::size_t i = first; i < last; ++i) {
        const std::optional<double> v = value(i);
        if (!v) {
          flush();
          continue;
        }
        const QPointF point(xOf(samples[i].timeMs), yOf(*v));
        if (points++ == 0) path.moveTo(point);
        else path.lineTo(point);
      }
      flush();
    }
  };
  const std::vector<SmoothedReading> smoothed = Smooth(samples);
  for (bool bold : {false, true}) {
    auto pen = [&](const QColor& colour) { return bold ? QPen(colour, kSmoothedWidth) : QPen(Faded(colour), kRawWidth); };
    if (hasMargin)
      trace([&](std::size_t i) { return bold ? smoothed[i].marginDb : samples[i].marginDb; }, yOfDb, pen(MarginColour()));
    trace([&](std::size_t i) -> std::optional<double> { return bold ? smoothed[i].strength : samples[i].strength; },
          yOfPercent, pen(StrengthColour()));
    trace([&](std::size_t i) -> std::optional<double> { return bold ? smoothed[i].quality : samples[i].quality; }, yOfPercent,
          pen(QualityColour()));
  }
  p.restore();

  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(area);
  if (m_history.Empty()) {
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(area, Qt::AlignCenter, QStringLiteral("No readings yet"));
  }
}
