// The receive chain as the application builds it, without the tuner and the
// network provider: capture -> tee -> demultiplexer -> transport information
// filter, and tee -> stream sink, connected through the graph manager in the
// application's order. The tuner context holds the graph's run/stop control
// and the sink, as graph construction leaves them.
#pragma once

#include <string>

#include "platform/com/com_ptr.h"
#include "platform/media/media_interfaces.h"
#include "platform/sim/stream/sim_stream_config.h"

class CDestFilter;
class CSimCaptureFilter;
class CMpeg2DemuxFilter;
class CTifFilter;
class CMemAllocator;

class Chain {
 public:
  explicit Chain(const SimCaptureConfig& config);
  ~Chain();
  Chain(const Chain&) = delete;
  Chain& operator=(const Chain&) = delete;

  CSimCaptureFilter* Capture() const;
  CMpeg2DemuxFilter* Demux() const;
  CTifFilter* Tif() const;
  // The pool the capture filter fills (the tee input's allocator).
  CMemAllocator* Pool() const;

  ComPtr<IGraphBuilder> graph;
  ComPtr<IBaseFilter> capture, tee, demux, tif;
  CDestFilter* sink = nullptr;
  // Results of the four connections, in order.
  HRESULT connected[4] = {E_FAIL, E_FAIL, E_FAIL, E_FAIL};
};
