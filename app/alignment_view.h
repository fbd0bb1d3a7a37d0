// The "Signal alignment" window: what an installer watches while turning
// the dish. The newest strength, quality and link margin in large figures;
// their last minutes as readings and trend; the best quality since "Reset
// peak", with the strength and margin it came with and when; and a tone
// whose pitch follows the quality, off until "Tone" is ticked and offered
// only where there is an audio output. Closing the window silences the tone
// (minimising it does not: the installer may be listening at the dish).
//
// UI thread only. history and peak belong to the caller, which feeds them
// and calls Refresh after each reading; both outlive the view.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

#include "app/peak_hold.h"
#include "app/signal_history.h"

class AlignmentAudio;
class AlignmentPlot;
class QCheckBox;
class QLabel;
class QPushButton;

class AlignmentView final : public QWidget {
 public:
  AlignmentView(const SignalHistory& history, PeakHold& peak, QWidget* parent);

  // Shows the newest reading and the held peak; the tone follows the reading.
  void Refresh();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void OfferTone();
  void SetTone(bool on);

  const SignalHistory& m_history;
  PeakHold& m_peak;
  QLabel* m_strength = nullptr;
  QLabel* m_quality = nullptr;
  QLabel* m_margin = nullptr;
  QLabel* m_lock = nullptr;
  AlignmentPlot* m_plot = nullptr;
  QLabel* m_peakText = nullptr;
  QPushButton* m_resetPeak = nullptr;
  QCheckBox* m_tone = nullptr;
  AlignmentAudio* m_audio = nullptr;  // child; made when the tone is first switched on
};

// "Peak quality 87% at 14:03:12" and, on a second line, the strength and
// margin read with it; "No peak yet" when none is held.
QString PeakText(const std::optional<HeldPeak>& peak);
