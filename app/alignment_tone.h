// The alignment tone: a pitch that rises with quality, so an installer at
// the dish hears which way to turn without looking at a screen, and the PCM
// it is played from. Plain data, one thread: the caller guards a generator
// that an audio thread pulls from.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "app/signal_history.h"

inline constexpr double kToneLowHz = 300.0;    // quality 0 %
inline constexpr double kToneHighHz = 1500.0;  // quality 100 %

// The pitch for a reading: linear in the quality's percent, as the strip
// shows it, from kToneLowHz to kToneHighHz. None without lock: silence tells
// the installer the carrier is gone.
std::optional<double> TonePitchHz(const SignalSample& reading);

// A sine at the pitch set last, as 16-bit signed mono PCM.
class ToneGenerator {
 public:
  static constexpr int kFadeMs = 20;
  static constexpr double kLevel = 0.25;  // of full scale: heard over a motor, not harsh in headphones

  explicit ToneGenerator(int sampleRate) : m_sampleRate(sampleRate) {}

  // The pitch from the next sample on; none fades to silence. The phase runs
  // on across buffers and pitch changes, and starting and stopping fade over
  // kFadeMs, so neither clicks.
  void SetPitch(std::optional<double> hz);

  void Fill(std::span<std::int16_t> out);

  // Faded out (or never started): the output may be stopped.
  bool Silent() const { return !m_on && m_gain == 0.0; }
  int SampleRate() const { return m_sampleRate; }

 private:
  const int m_sampleRate;
  double m_phase = 0.0;  // in cycles, [0, 1)
  double m_hz = 0.0;     // kept while fading out
  bool m_on = false;
  double m_gain = 0.0;  // where the fade is, 0..1
};
