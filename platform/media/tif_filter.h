// CTifFilter: the transport information filter at the end of the
// demultiplexer branch. One input ("Input") that counts the packets per PID
// of the stream it receives; it owns the pin.
#pragma once

#include <memory>

#include "platform/media/ts_packet_counter.h"
#include "recording/framework/base_filter.h"

class CTsInputPin;

class CTifFilter final : public CBaseFilter {
 public:
  CTifFilter();
  ~CTifFilter() override;

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;

  TsPacketCounter PacketCounts();

 private:
  CCritSec m_lock;
  std::unique_ptr<CTsInputPin> m_input;
};
