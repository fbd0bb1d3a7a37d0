#include "platform/sim/sim_filters.h"

#include "platform/com/com_ptr.h"
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
  // The stream follows the demodulator: data only while a carrier is locked
  // and delivered in the chosen output format, at its bit rate.
  config.signal = [driver = std::weak_ptr<TunerDriver>(card->Driver())]() -> SimSignalFeed {
    auto locked = driver.lock();
    if (!locked) return {false, 0};
    const StreamDescription stream = locked->DescribeStream();
    return {stream.delivery != Delivery::None, static_cast<std::uint64_t>(std::max<int64_t>(stream.bitRate, 0))};
  };
  return CSimCaptureFilter::Create(config)->QueryInterface(riid, ppv);
}

}  // namespace sim
