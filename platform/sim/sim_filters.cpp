#include "platform/sim/sim_filters.h"

#include "platform/com/com_ptr.h"
#include "platform/sim/programme.h"
#include "platform/sim/sim_card.h"
#include "platform/sim/stream/sim_capture_filter.h"
#include "platform/sim/tuner_filter.h"

namespace sim {

HRESULT BindTunerFilter(std::shared_ptr<SimCard> card, REFIID riid, void** ppv) {
  if (!card || card->IsRemoved()) return E_FAIL;
  return CreateFrameworkObject<TunerFilter>(riid, ppv, std::move(card));
}

HRESULT BindCaptureFilter(std::shared_ptr<SimCard> card, REFIID riid, void** ppv) {
  if (!card || card->IsRemoved()) return E_FAIL;
  const StreamOptions& options = card->Stream();
  SimCaptureConfig config;
  config.pacing = options.paced ? SimPacing::BitRate : SimPacing::Unpaced;
  config.packetsPerSample = static_cast<int>(options.samplePackets);
  config.replayPath = options.replayFile;
  config.continuityErrorEvery = options.continuityErrorEvery;
  config.ringBytes = options.ringBytes;
  // The stream follows the demodulator: data only while a carrier is locked
  // and delivered in the chosen output format, at its bit rate, with a
  // programme naming that carrier. Called on the streaming thread only, so
  // the last generation seen needs no lock.
  config.signal = [driver = std::weak_ptr<TunerDriver>(card->Driver()),
                   shown = std::optional<std::uint64_t>()]() mutable -> SimSignalFeed {
    auto locked = driver.lock();
    if (!locked) return {false, 0, std::nullopt};
    const StreamDescription stream = locked->DescribeStream();
    SimSignalFeed feed{stream.delivery != Delivery::None, static_cast<std::uint64_t>(std::max<int64_t>(stream.bitRate, 0)),
                       std::nullopt};
    if (feed.delivering && shown != stream.generation) {
      shown = stream.generation;
      feed.content = ProgrammeFor(locked->GetSky(), stream);
    }
    return feed;
  };
  return CSimCaptureFilter::Create(config)->QueryInterface(riid, ppv);
}

}  // namespace sim
