#include "platform/sim/stream/sim_capture_filter.h"

#include "platform/media/capture_input_pin.h"
#include "platform/media/ts_capture_output_pin.h"
#include "platform/sim/stream/sim_stream_pump.h"

CSimCaptureFilter::CSimCaptureFilter(const SimCaptureConfig& config)
    : CBaseFilter(nullptr, &m_lock, CLSID_SimCaptureFilter),
      m_input(std::make_unique<CCaptureInputPin>(this, &m_lock)),
      m_output(std::make_unique<CTsCaptureOutputPin>(this, &m_lock, std::max(config.packetsPerSample, 1),
                                                      std::max(config.sampleBuffers, 1))),
      m_pump(std::make_unique<SimStreamPump>(m_output.get(), config)) {}

CSimCaptureFilter::~CSimCaptureFilter() { m_pump.reset(); }

ComPtr<IBaseFilter> CSimCaptureFilter::Create(const SimCaptureConfig& config) {
  return ComPtr<IBaseFilter>(new CSimCaptureFilter(config));
}

int CSimCaptureFilter::GetPinCount() { return 2; }

CBasePin* CSimCaptureFilter::GetPin(int n) {
  if (n == 0) return m_input.get();
  if (n == 1) return m_output.get();
  return nullptr;
}

HRESULT CSimCaptureFilter::Run(REFERENCE_TIME start) {
  const HRESULT hr = CBaseFilter::Run(start);
  if (SUCCEEDED(hr) && m_output->IsConnected()) m_pump->Start();
  return hr;
}

HRESULT CSimCaptureFilter::Pause() {
  m_pump->Stop();  // outside the filter lock: the thread may need it for end of stream
  return CBaseFilter::Pause();
}

HRESULT CSimCaptureFilter::Stop() {
  m_pump->Stop();
  return CBaseFilter::Stop();
}

void CSimCaptureFilter::SetBitRate(std::uint64_t bitRate) { m_pump->SetBitRate(bitRate); }

void CSimCaptureFilter::SetContent(const SimStreamContent& content) { m_pump->SetContent(content); }

bool CSimCaptureFilter::WaitForEndOfStream() { return m_pump->WaitForEndOfStream(); }

std::uint64_t CSimCaptureFilter::PacketsDelivered() { return m_pump->PacketsDelivered(); }

HRESULT CSimCaptureFilter::LastDeliveryResult() { return m_pump->LastDeliveryResult(); }
