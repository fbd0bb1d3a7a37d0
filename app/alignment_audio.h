// The alignment tone on the default audio output: a QAudioSink pulls 16-bit
// mono PCM from a ToneGenerator. Off until switched on; switching off fades
// the tone out and then stops the sink. Created, fed and destroyed on the UI
// thread; the sink may pull on an audio thread, so the generator sits behind
// the source's mutex.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/signal_history.h"

class QAudioSink;

class AlignmentAudio final : public QObject {
 public:
  // Whether the system has an output to play on; without one the tone
  // cannot be offered.
  static bool OutputAvailable();

  explicit AlignmentAudio(QObject* parent = nullptr);
  ~AlignmentAudio() override;

  void SetOn(bool on);
  bool IsOn() const { return m_on; }

  // The pitch follows the reading's quality; silent without lock.
  void Follow(const SignalSample& reading);

 private:
  class ToneSource;

  bool m_on = false;
  std::optional<double> m_pitch;  // of the newest reading, on or off
  QTimer m_stopAfterFade;
  ToneSource* m_source = nullptr;  // child of this
  std::unique_ptr<QAudioSink> m_sink;
};
