// CMpeg2DemuxFilter: the MPEG-2 demultiplexer of the receive graph. Its
// input ("Input") takes the transport stream and counts packets per PID;
// its one output ("Output", where the transport information filter
// connects) forwards every sample unchanged. Owns both pins. It answers
// ITsStreamStatistics for what its input has seen in the current run.
#pragma once

#include <memory>

#include "platform/media/ts_packet_counter.h"
#include "platform/media/ts_stream_statistics.h"
#include "recording/framework/base_filter.h"

class CTsInputPin;
class CPassThroughOutputPin;

class CMpeg2DemuxFilter final : public CBaseFilter, public ITsStreamStatistics {
 public:
  CMpeg2DemuxFilter();
  ~CMpeg2DemuxFilter() override;

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;
  HRESULT GetStreamStatistics(TsStreamStatistics* statistics) override;

  int GetPinCount() override;
  CBasePin* GetPin(int n) override;

  TsPacketCounter PacketCounts();

 private:
  CCritSec m_lock;
  std::unique_ptr<CTsInputPin> m_input;
  std::unique_ptr<CPassThroughOutputPin> m_output;
};
