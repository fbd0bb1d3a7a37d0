#include "platform/media/mpeg2_demux_filter.h"

#include "platform/media/pass_through_output_pin.h"
#include "platform/media/ts_input_pin.h"

CMpeg2DemuxFilter::CMpeg2DemuxFilter()
    : CBaseFilter(nullptr, &m_lock, CLSID_MPEG2Demultiplexer),
      m_input(std::make_unique<CTsInputPin>(this, &m_lock, L"Input")),
      m_output(std::make_unique<CPassThroughOutputPin>(this, &m_lock, L"Output", m_input.get())) {
  m_input->ForwardTo(m_output.get());
}

CMpeg2DemuxFilter::~CMpeg2DemuxFilter() = default;

int CMpeg2DemuxFilter::GetPinCount() { return 2; }

CBasePin* CMpeg2DemuxFilter::GetPin(int n) {
  if (n == 0) return m_input.get();
  if (n == 1) return m_output.get();
  return nullptr;
}

HRESULT CMpeg2DemuxFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (ppv && riid == ITsStreamStatistics::IID) return GetInterface(static_cast<ITsStreamStatistics*>(this), ppv);
  return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CMpeg2DemuxFilter::GetStreamStatistics(TsStreamStatistics* statistics) {
  if (!statistics) return E_POINTER;
  *statistics = m_input->Statistics();
  return S_OK;
}

TsPacketCounter CMpeg2DemuxFilter::PacketCounts() { return m_input->Counts(); }
