#include "platform/sim/stream/sim_capture_filter.h"

#include <algorithm>

#include "platform/sim/stream/sim_stream_pump.h"

CSimCaptureFilter::CSimCaptureFilter(const SimCaptureConfig& config)
    : CBdaCaptureFilter(CLSID_SimCaptureFilter, std::max(config.packetsPerSample, 1),
                        std::max(config.sampleBuffers, 1)),
      m_pump(std::make_unique<SimStreamPump>(Output(), config)) {}

CSimCaptureFilter::~CSimCaptureFilter() = default;

ComPtr<IBaseFilter> CSimCaptureFilter::Create(const SimCaptureConfig& config) {
  return ComPtr<IBaseFilter>(new CSimCaptureFilter(config));
}

HRESULT CSimCaptureFilter::StartDelivery() {
  m_pump->Start();
  return S_OK;
}

void CSimCaptureFilter::StopDelivery() { m_pump->Stop(); }

void CSimCaptureFilter::SetBitRate(std::uint64_t bitRate) { m_pump->SetBitRate(bitRate); }

void CSimCaptureFilter::SetContent(const SimStreamContent& content) { m_pump->SetContent(content); }

bool CSimCaptureFilter::WaitForEndOfStream() { return m_pump->WaitForEndOfStream(); }

std::uint64_t CSimCaptureFilter::PacketsDelivered() { return m_pump->PacketsDelivered(); }

HRESULT CSimCaptureFilter::LastDeliveryResult() { return m_pump->LastDeliveryResult(); }
