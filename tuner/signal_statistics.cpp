#include "tuner/signal_statistics.h"

#include "tuner/tuner_context.h"

namespace {

// Only a tuner that measures its carrier-to-noise ratio can tell.
std::optional<double> ReadLinkMargin(const ComPtr<IUnknown>& node) {
  ComPtr<ILinkMarginStatistics> margin = node.As<ILinkMarginStatistics>();
  LONG centiDb = 0;
  if (!margin || margin->get_LinkMargin(&centiDb) != S_OK) return std::nullopt;
  return centiDb / 100.0;
}

}  // namespace

SignalReadOutcome ReadSignalStatistics(TunerContext& context, SignalReading* reading) {
  if (!context.m_pTunerFilter) return SignalReadOutcome::Failed;
  ComPtr<IBDA_Topology> topology = context.m_pTunerFilter.As<IBDA_Topology>();
  if (!topology) return SignalReadOutcome::NoTopology;
  ComPtr<IUnknown> node;
  if (FAILED(topology->GetControlNode(0, 1, 0, node.ReleaseAndGetAddressOf())) || !node)
    return SignalReadOutcome::Failed;
  ComPtr<IBDA_SignalStatistics> statistics = node.As<IBDA_SignalStatistics>();
  if (!statistics) return SignalReadOutcome::Failed;
  LONG quality = 0, strength = 0;
  BOOLEAN locked = 0;
  const HRESULT hr = statistics->get_SignalQuality(&quality);
  statistics->get_SignalStrength(&strength);
  statistics->get_SignalLocked(&locked);
  if (FAILED(hr)) return SignalReadOutcome::Failed;
  reading->quality = static_cast<std::uint8_t>(quality);
  reading->strength = static_cast<std::uint8_t>(strength);
  reading->lockByte = locked;
  reading->marginDb = ReadLinkMargin(node);
  reading->measured = {};
  if (ComPtr<ISignalMeasurements> measurements = node.As<ISignalMeasurements>())
    measurements->get_Measurements(&reading->measured);
  return SignalReadOutcome::Read;
}
