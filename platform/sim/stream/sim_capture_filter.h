// CSimCaptureFilter: the simulated card's capture filter, the device the
// receive graph finds as "Orvane RX40 BDA Digital Capture DVBS". Its pins,
// their running and the delivery are CBdaCaptureFilter's; its stream comes
// from a pump's thread (sim_stream_pump.h), which models the card's buffer.
// The card model changes the bit rate and content through SetBitRate and
// SetContent at any time.
//
// Owns its pump, which stops before the pins go.
#pragma once

#include <memory>

#include "platform/media/bda_capture_filter.h"
#include "platform/sim/stream/sim_stream_config.h"

class SimStreamPump;

inline constexpr wchar_t kSimCaptureFriendlyName[] = L"Orvane RX40 BDA Digital Capture DVBS";
// {4A1D3E57-8C02-4F6B-9E31-0D5B7C2A9F14}
inline constexpr CLSID CLSID_SimCaptureFilter{0x4A1D3E57, 0x8C02, 0x4F6B, {0x9E, 0x31, 0x0D, 0x5B, 0x7C, 0x2A, 0x9F, 0x14}};

class CSimCaptureFilter final : public CBdaCaptureFilter {
 public:
  explicit CSimCaptureFilter(const SimCaptureConfig& config);
  ~CSimCaptureFilter() override;

  // A new filter held by the returned reference.
  static ComPtr<IBaseFilter> Create(const SimCaptureConfig& config);

  void SetBitRate(std::uint64_t bitRate);
  void SetContent(const SimStreamContent& content);
  // See SimStreamPump.
  bool WaitForEndOfStream();
  std::uint64_t PacketsDelivered();
  HRESULT LastDeliveryResult();

 private:
  HRESULT StartReading() override;
  void StopReading() override;
  CaptureSourceStatus SourceStatus() override;

  std::unique_ptr<SimStreamPump> m_pump;
};
