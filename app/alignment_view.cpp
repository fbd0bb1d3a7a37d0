#include "app/alignment_view.h"

#include <QCheckBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/alignment_audio.h"
#include "app/alignment_plot.h"
#include "app/signal_history_plot.h"

namespace {

QString Percent(int reading) { return QStringLiteral("%1%").arg(ReadingPercent(reading)); }
QString Db(double value) { return QStringLiteral("%1 dB").arg(value, 0, 'f', 1); }

// A caption over a large figure in the curve's colour; the figure keeps the
// width of its widest text, so the row does not jump as values change.
QLabel* AddFigure(QHBoxLayout* row, const QString& caption, const QColor& colour, const QString& widest, const char* name) {
  auto* box = new QVBoxLayout;
  box->setSpacing(0);
  auto* title = new QLabel(caption);
  auto* value = new QLabel(QStringLiteral("–"));
  value->setObjectName(QString::fromLatin1(name));
  QFont font = value->font();
  font.setPointSizeF(font.pointSizeF() * 2.4);
  font.setBold(true);
  value->setFont(font);
  value->setMinimumWidth(QFontMetrics(font).horizontalAdvance(widest) + 4);
  QPalette palette = value->palette();
  palette.setColor(QPalette::WindowText, colour);
  value->setPalette(palette);
  title->setPalette(palette);
  box->addWidget(title);
  box->addWidget(value);
  row->addLayout(box);
  row->addSpacing(18);
  return value;
}

}  // namespace

QString PeakText(const std::optional<HeldPeak>& peak) {
  if (!peak) return QStringLiteral("No peak yet");
  const SignalSample& at = peak->sample;
  const QString clock = QDateTime::fromMSecsSinceEpoch(peak->wallClockMs).toString(QStringLiteral("HH:mm:ss"));
  QString text = QStringLiteral("Peak quality %1 at %2\nstrength %3").arg(Percent(at.quality), clock, Percent(at.strength));
  if (at.marginDb) text += QStringLiteral(", margin ") + Db(*at.marginDb);
  return text;
}

AlignmentView::AlignmentView(const SignalHistory& history, PeakHold& peak, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_history(history), m_peak(peak) {
  setObjectName(QStringLiteral("signal-alignment-window"));
  setWindowTitle(QStringLiteral("Signal alignment"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 8, 10, 8);

  auto* figures = new QHBoxLayout;
  m_strength = AddFigure(figures, QStringLiteral("Strength"), StrengthColour(), QStringLiteral("100%"), "alignment-strength");
  m_quality = AddFigure(figures, QStringLiteral("Quality"), QualityColour(), QStringLiteral("100%"), "alignment-quality");
  m_margin = AddFigure(figures, QStringLiteral("Margin"), MarginColour(), QStringLiteral("-10.0 dB"), "alignment-margin");
  figures->addStretch(1);
  m_lock = new QLabel;
  m_lock->setObjectName(QStringLiteral("alignment-lock"));
  QFont lockFont = m_lock->font();
  lockFont.setPointSizeF(lockFont.pointSizeF() * 1.4);
  lockFont.setBold(true);
  m_lock->setFont(lockFont);
  figures->addWidget(m_lock, 0, Qt::AlignRight | Qt::AlignBottom);
  layout->addLayout(figures);

  m_plot = new AlignmentPlot(m_history, this);
  m_plot->setObjectName(QStringLiteral("alignment-plot"));
  layout->addWidget(m_plot, 1);

  auto* peakRow = new QHBoxLayout;
  m_peakText = new QLabel;
  m_peakText->setObjectName(QStringLiteral("alignment-peak"));
  peakRow->addWidget(m_peakText, 1);
  m_resetPeak = new QPushButton(QStringLiteral("Reset peak"));
  m_resetPeak->setObjectName(QStringLiteral("alignment-reset-peak"));
  connect(m_resetPeak, &QPushButton::clicked, this, [this] {
    m_peak.Reset();
    Refresh();
  });
  peakRow->addWidget(m_resetPeak);
  peakRow->addSpacing(12);
  m_tone = new QCheckBox(QStringLiteral("Tone"));
  m_tone->setObjectName(QStringLiteral("alignment-tone"));
  connect(m_tone, &QCheckBox::toggled, this, [this](bool on) { SetTone(on); });
  peakRow->addWidget(m_tone);
  layout->addLayout(peakRow);

  OfferTone();
  Refresh();
}

void AlignmentView::Refresh() {
  if (m_history.Empty()) {
    for (QLabel* figure : {m_strength, m_quality, m_margin}) figure->setText(QStringLiteral("–"));
    m_lock->clear();
  } else {
    const SignalSample& newest = m_history.Newest();
    m_strength->setText(Percent(newest.strength));
    m_quality->setText(Percent(newest.quality));
    m_margin->setText(newest.marginDb ? Db(*newest.marginDb) : QStringLiteral("n/a"));
    m_margin->setToolTip(newest.marginDb ? QString() : QStringLiteral("The driver does not report the link margin"));
    m_lock->setText(newest.locked ? QStringLiteral("LOCKED") : QStringLiteral("UNLOCKED"));
    QPalette palette = m_lock->palette();
    palette.setColor(QPalette::WindowText, newest.locked ? QColor(0x2E, 0x7D, 0x32) : QColor(0xC6, 0x28, 0x28));
    m_lock->setPalette(palette);
    if (m_audio) m_audio->Follow(newest);
  }
  m_peakText->setText(PeakText(m_peak.Peak()));
  m_plot->update();
}

void AlignmentView::OfferTone() {
  const bool available = AlignmentAudio::OutputAvailable();
  if (!available) m_tone->setChecked(false);
  m_tone->setEnabled(available);
  m_tone->setToolTip(available ? QStringLiteral("A pitch that rises with quality; silent without lock")
                               : QStringLiteral("No audio output device"));
}

void AlignmentView::SetTone(bool on) {
  if (on && !m_audio) m_audio = new AlignmentAudio(this);
  if (!m_audio) return;
  if (on && !m_history.Empty()) m_audio->Follow(m_history.Newest());
  m_audio->SetOn(on);
}

void AlignmentView::showEvent(QShowEvent* event) {
  OfferTone();  // an output may have come or gone since
  QWidget::showEvent(event);
}

void AlignmentView::closeEvent(QCloseEvent* event) {
  m_tone->setChecked(false);
  QWidget::closeEvent(event);
}
