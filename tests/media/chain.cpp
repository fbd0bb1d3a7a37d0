#include "tests/media/chain.h"

#include "platform/com/runtime.h"
#include "platform/media/media_classes.h"
#include "platform/media/mem_allocator.h"
#include "platform/media/mpeg2_demux_filter.h"
#include "platform/media/tif_filter.h"
#include "platform/sim/stream/sim_capture_filter.h"
#include "recording/framework/base_input_pin.h"
#include "recording/dest_filter.h"
#include "recording/recording_state.h"
#include "tests/support/graph_pins.h"
#include "tuner/tuner_context.h"

namespace {

template <typename T>
ComPtr<IBaseFilter> Create(REFCLSID clsid) {
  ComPtr<IBaseFilter> filter;
  CoCreateInstance(clsid, filter.ReleaseAndGetAddressOf());
  return filter;
}

}  // namespace

Chain::Chain(const SimCaptureConfig& config) {
  RegisterMediaClasses();
  CoCreateInstance(CLSID_FilterGraph, graph.ReleaseAndGetAddressOf());
  capture = CSimCaptureFilter::Create(config);
  demux = Create<IBaseFilter>(CLSID_MPEG2Demultiplexer);
  tee = Create<IBaseFilter>(CLSID_InfTee);
  tif = Create<IBaseFilter>(CLSID_TransportInformationFilter);
  HRESULT hr;
  sink = new CDestFilter(nullptr, &SinkLock(), &hr);
  static_cast<IBaseFilter*>(sink)->AddRef();

  graph->AddFilter(capture.Get(), kSimCaptureFriendlyName);
  graph->AddFilter(demux.Get(), L"MPEG2 Demultiplexer");
  graph->AddFilter(tee.Get(), L"Infinite pin tee splitter");
  graph->AddFilter(tif.Get(), L"transport information filter");
  graph->AddFilter(sink, L"Dest Filter");
  connected[0] = ConnectFreePins(graph.Get(), capture.Get(), tee.Get());
  connected[1] = ConnectFreePins(graph.Get(), tee.Get(), demux.Get());
  connected[2] = ConnectFreePins(graph.Get(), tee.Get(), sink);
  connected[3] = ConnectFreePins(graph.Get(), demux.Get(), tif.Get());

  TunerContext& context = TheTunerContext();
  context.m_pMediaControl = graph.As<IMediaControl>();
  context.m_pDestFilter = sink;
}

Chain::~Chain() {
  TunerContext& context = TheTunerContext();
  if (context.m_pMediaControl) context.m_pMediaControl->Stop();
  // Teardown as the application does it: some filters removed explicitly,
  // the rest by the graph's release.
  graph->RemoveFilter(capture.Get());
  graph->RemoveFilter(sink);
  context.m_pMediaControl = nullptr;
  context.m_pDestFilter = nullptr;
  capture = tee = demux = tif = nullptr;
  graph = nullptr;
  static_cast<IBaseFilter*>(sink)->Release();
}

CSimCaptureFilter* Chain::Capture() const { return static_cast<CSimCaptureFilter*>(capture.Get()); }
CMpeg2DemuxFilter* Chain::Demux() const { return static_cast<CMpeg2DemuxFilter*>(demux.Get()); }
CTifFilter* Chain::Tif() const { return static_cast<CTifFilter*>(tif.Get()); }

CMemAllocator* Chain::Pool() const {
  ComPtr<IPin> input;
  tee->FindPin(L"Input", input.ReleaseAndGetAddressOf());
  if (!input) return nullptr;
  const ComPtr<IMemAllocator> allocator = static_cast<CBaseInputPin*>(static_cast<CBasePin*>(input.Get()))->Allocator();
  return static_cast<CMemAllocator*>(allocator.Get());  // the graph still holds it
}
