#include "platform/sim/stream/sim_capture_filter.h"

#include <algorithm>

#include "platform/sim/stream/sim_stream_pump.h"

CSimCaptureFilter::CSimCaptureFilter(const SimCaptureConfig& config)
    : CBdaCaptureFilter(CLSID_SimCaptureFilter, std::max(config.packetsPerSample, 1),
                        std::max(config.sampleBuffers, 1)),
      m_pump(std::make_unique<SimStreamPump>(Delivery(), config)) {
  SetRingBytes(config.ringBytes, static_cast<std::size_t>(std::max(config.packetsPerSample, 1)));
}

CSimCaptureFilter::~CSimCaptureFilter() {
  // The pump goes before the delivery it feeds.
  m_pump->Stop();
}

ComPtr<IBaseFilter> CSimCaptureFilter::Create(const SimCaptureConfig& config) {
  return ComPtr<IBaseFilter>(new CSimCaptureFilter(config));
}

HRESULT CSimCaptureFilter::StartReading() {
  m_pump->Start();
  return S_OK;
}

void CSimCaptureFilter::StopReading() { m_pump->Stop(); }

CaptureSourceStatus CSimCaptureFilter::SourceStatus() {
  CaptureSourceStatus status;
  status.overflows = m_pump->Overflows();
  status.bytesRead = m_pump->PacketsDelivered() * 188;
  return status;
}

void CSimCaptureFilter::SetBitRate(std::uint64_t bitRate) { m_pump->SetBitRate(bitRate); }

void CSimCaptureFilter::SetContent(const SimStreamContent& content) { m_pump->SetContent(content); }

bool CSimCaptureFilter::WaitForEndOfStream() { return m_pump->WaitForEndOfStream(); }

std::uint64_t CSimCaptureFilter::PacketsDelivered() { return m_pump->PacketsDelivered(); }

HRESULT CSimCaptureFilter::LastDeliveryResult() { return Delivery().DeliveryResult(); }
