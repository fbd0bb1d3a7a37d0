#include "platform/media/tif_filter.h"

#include "platform/media/media_classes.h"
#include "platform/media/ts_input_pin.h"

CTifFilter::CTifFilter()
    : CBaseFilter(nullptr, &m_lock, CLSID_TransportInformationFilter),
      m_input(std::make_unique<CTsInputPin>(this, &m_lock, L"Input")) {}

CTifFilter::~CTifFilter() = default;

int CTifFilter::GetPinCount() { return 1; }

CBasePin* CTifFilter::GetPin(int n) { return n == 0 ? m_input.get() : nullptr; }

TsPacketCounter CTifFilter::PacketCounts() { return m_input->Counts(); }
