// CTsCaptureOutputPin: a card capture filter's output ("Output"): a transport
// stream (MEDIATYPE_Stream, MPEG-2 transport subtype, 188-byte units) in
// samples of a fixed number of packets, from a pool whose size it asks of
// the allocator at connection.
#pragma once

#include "platform/media/base_output_pin.h"

class CTsCaptureOutputPin final : public CBaseOutputPin {
 public:
  CTsCaptureOutputPin(CBaseFilter* filter, CCritSec* lock, int packetsPerSample, int sampleBuffers);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* mt) override;
  HRESULT GetMediaType(int position, CMediaType* mt) override;
  // Refuses an allocator whose buffers cannot hold one sample.
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

 private:
  const int m_packetsPerSample;
  const int m_sampleBuffers;
};
