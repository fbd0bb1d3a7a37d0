// CSignalStatisticsNode: a card tuner's demodulator node, the control node
// that CBdaTunerFilter hands out. Each get reads the backend's driver afresh
// through `HRESULT Source::ReadSignal(Reading*)`, where Reading has strength
// and quality in percent and a locked flag; a failed read passes its status
// on and leaves the out value alone.
//
// More names further interfaces a backend's node adds (and implements in a
// class derived from this one).
#pragma once

#include <memory>
#include <utility>

#include "platform/com/com_object.h"
#include "platform/media/bda_interfaces.h"

template <typename Source, typename Reading, typename... More>
class CSignalStatisticsNode
    : public ComObject<CSignalStatisticsNode<Source, Reading, More...>, IBDA_SignalStatistics, More...> {
 public:
  explicit CSignalStatisticsNode(std::shared_ptr<Source> source) : m_source(std::move(source)) {}

  HRESULT get_SignalStrength(LONG* strength) override {
    return Read(strength, [](const Reading& r) { return static_cast<LONG>(r.strength); });
  }
  HRESULT get_SignalQuality(LONG* quality) override {
    return Read(quality, [](const Reading& r) { return static_cast<LONG>(r.quality); });
  }
  HRESULT get_SignalLocked(BOOLEAN* locked) override {
    return Read(locked, [](const Reading& r) { return static_cast<BOOLEAN>(r.locked ? 1 : 0); });
  }

 protected:
  template <typename T, typename Pick>
  HRESULT Read(T* out, Pick pick) {
    if (!out) return E_POINTER;
    Reading reading;
    const HRESULT hr = m_source->ReadSignal(&reading);
    if (SUCCEEDED(hr)) *out = pick(reading);
    return hr;
  }

  const std::shared_ptr<Source> m_source;
};
