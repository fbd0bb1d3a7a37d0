#include "app/alignment_tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::optional<double> TonePitchHz(const SignalSample& reading) {
  if (!reading.locked) return std::nullopt;
  return kToneLowHz + (kToneHighHz - kToneLowHz) * ReadingPercent(reading.quality) / 100.0;
}

void ToneGenerator::SetPitch(std::optional<double> hz) {
  m_on = hz.has_value();
  if (hz) m_hz = *hz;
}

void ToneGenerator::Fill(std::span<std::int16_t> out) {
  const double fadeStep = 1000.0 / (kFadeMs * static_cast<double>(m_sampleRate));
  const double cyclesPerSample = m_hz / m_sampleRate;
  for (auto& sample : out) {
    m_gain = m_on ? std::min(1.0, m_gain + fadeStep) : std::max(0.0, m_gain - fadeStep);
    if (m_gain == 0.0) {
      sample = 0;
      m_phase = 0.0;  // the next start begins at a zero crossing
      continue;
    }
    sample = static_cast<std::int16_t>(std::lround(kLevel * 32767.0 * m_gain * std::sin(2.0 * std::numbers::pi * m_phase)));
    m_phase += cyclesPerSample;
    m_phase -= std::floor(m_phase);
  }
}
