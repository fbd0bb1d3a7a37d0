#include "app/alignment_audio.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

#include "app/alignment_tone.h"

namespace {

constexpr int kDefaultRate = 48000;
// Small, so that the pitch follows a reading within a tenth of a second.
constexpr int kBufferMs = 80;
// The sink keeps playing what it holds after the fade-out was pulled.
constexpr int kStopAfterMs = 2 * kBufferMs + ToneGenerator::kFadeMs + 100;

}  // namespace

// Endless PCM from the generator for the sink to pull.
class AlignmentAudio::ToneSource final : public QIODevice {
 public:
  ToneSource(int sampleRate, QObject* parent) : QIODevice(parent), m_tone(sampleRate) {}

  void SetPitch(std::optional<double> hz) {
    std::lock_guard lock(m_mutex);
    m_tone.SetPitch(hz);
  }

  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override { return QIODevice::bytesAvailable() + (qint64{1} << 20); }

 protected:
  qint64 readData(char* data, qint64 maxSize) override {
    // Through a buffer of our own: the sink's bytes need not be aligned for int16.
    std::array<std::int16_t, 1024> chunk;
    const auto count = static_cast<std::size_t>(maxSize) / sizeof(std::int16_t);
    std::lock_guard lock(m_mutex);
    for (std::size_t done = 0; done < count;) {
      const std::size_t n = std::min(chunk.size(), count - done);
      m_tone.Fill(std::span(chunk.data(), n));
      std::memcpy(data + done * sizeof(std::int16_t), chunk.data(), n * sizeof(std::int16_t));
      done += n;
    }
    return static_cast<qint64>(count * sizeof(std::int16_t));
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  std::mutex m_mutex;
  ToneGenerator m_tone;
};

bool AlignmentAudio::OutputAvailable() { return !QMediaDevices::defaultAudioOutput().isNull(); }

AlignmentAudio::AlignmentAudio(QObject* parent) : QObject(parent) {
  m_stopAfterFade.setSingleShot(true);
  m_stopAfterFade.setInterval(kStopAfterMs);
  connect(&m_stopAfterFade, &QTimer::timeout, this, [this] {
    if (!m_on && m_sink) m_sink->stop();
  });
}

AlignmentAudio::~AlignmentAudio() {
  if (m_sink) m_sink->stop();
}

void AlignmentAudio::SetOn(bool on) {
  if (on == m_on) return;
  m_on = on;
  if (!on) {
    if (!m_source) return;
    m_source->SetPitch(std::nullopt);
    m_stopAfterFade.start();
    return;
  }
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return;
  if (!m_sink) {
    QAudioFormat format;
    const int preferred = device.preferredFormat().sampleRate();
    format.setSampleRate(preferred > 0 ? preferred : kDefaultRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(format.bytesForDuration(kBufferMs * 1000));
    m_source = new ToneSource(format.sampleRate(), this);
    m_source->open(QIODevice::ReadOnly);
  }
  m_stopAfterFade.stop();
  m_source->SetPitch(m_pitch);
  // A sink still fading out from the last switch-off plays on.
  if (m_sink->state() == QAudio::StoppedState) m_sink->start(m_source);
}

void AlignmentAudio::Follow(const SignalSample& reading) {
  m_pitch = TonePitchHz(reading);
  if (m_on && m_source) m_source->SetPitch(m_pitch);
}
