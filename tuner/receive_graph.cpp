#include "tuner/receive_graph.h"

#include "platform/com/clock.h"
#include "platform/com/runtime.h"
#include "platform/media/media_classes.h"
#include "platform/ui/message_box.h"
#include "recording/dest_filter.h"
#include "recording/recording_state.h"
#include "tuner/bda_graph.h"
#include "tuner/find_filter.h"
#include "tuner/tuner_context.h"

namespace {

template <typename T>
ComPtr<T> Create(REFCLSID clsid) {
  ComPtr<T> object;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, T::IID, reinterpret_cast<void**>(object.ReleaseAndGetAddressOf()));
  return object;
}

// A device looked up once more after 3000 ms, as a driver may load late.
ComPtr<IBaseFilter> FindFilterTwice(REFGUID category, const wchar_t* name) {
  ComPtr<IBaseFilter> filter = FindFilter(category, name);
  if (!filter) {
    Sleep(3000);
    filter = FindFilter(category, name);
  }
  return filter;
}

}  // namespace

bool ReceiveGraph::Build(const CDialog* owner) {
  TunerContext& c = TheTunerContext();
  c.m_pGraph = nullptr;
  c.m_pNetworkProvider = nullptr;
  c.m_pCaptureFilter = nullptr;
  c.m_pMediaControl = nullptr;
  c.m_pDemux = nullptr;
  c.m_pTIF = nullptr;
  c.m_pTee = nullptr;

  c.m_pGraph = Create<IGraphBuilder>(CLSID_FilterGraph);
  if (c.m_pGraph) c.m_pMediaControl = c.m_pGraph.As<IMediaControl>();
  // Every later step needs the graph; without one there is nothing to build.
  if (!c.m_pGraph || !c.m_pMediaControl) {
    MessageBox(owner, "CreateFilterGraph Failed", "error");
    return false;
  }

  c.m_pNetworkProvider = CreateDVBSNetworkProvider();
  if (!c.m_pNetworkProvider) {
    MessageBox(owner, "CreateDVBSNetworkProvider Failed", "error");
    return false;
  }
  c.m_pGraph->AddFilter(c.m_pNetworkProvider.Get(), L"Network DVBS Provider");

  if (!c.m_pTunerFilter) c.SetTunerFilter(FindFilterTwice(KSCATEGORY_BDA_NETWORK_TUNER, kTunerFriendlyName));
  if (!c.m_pTunerFilter) {
    MessageBox(owner, "CreateTunerDevice Failed", "error");
    return false;
  }
  c.m_pGraph->AddFilter(c.m_pTunerFilter.Get(), kTunerFriendlyName);

  c.m_pCaptureFilter = FindFilterTwice(KSCATEGORY_BDA_RECEIVER_COMPONENT, kCaptureFriendlyName);
  if (!c.m_pCaptureFilter) {
    MessageBox(owner, "CreateCaptureDevice Failed", "error");
    return false;
  }
  c.m_pGraph->AddFilter(c.m_pCaptureFilter.Get(), kCaptureFriendlyName);

  c.m_pDemux = Create<IBaseFilter>(CLSID_MPEG2Demultiplexer);
  if (!c.m_pDemux) {
    MessageBox(owner, "CreateMPEG2Demultiplexer Failed", "error");
    return false;
  }
  c.m_pGraph->AddFilter(c.m_pDemux.Get(), L"MPEG2 Demultiplexer");

  c.m_pTee = Create<IBaseFilter>(CLSID_InfTee);
  if (!c.m_pTee) {
    MessageBox(owner, "CreateInfinitePinTee Failed", "error");
    return false;
  }
  c.m_pGraph->AddFilter(c.m_pTee.Get(), L"Infinite pin tee splitter");

  c.m_pTIF = FindFilter(KSCATEGORY_BDA_TRANSPORT_INFORMATION, nullptr);
  if (!c.m_pTIF) {
    MessageBox(owner, "CreateTransportInformationFilter Failed", "error");
    return false;
  }
  c.m_pGraph->AddFilter(c.m_pTIF.Get(), L"transport information filter");

  HRESULT created = S_OK;
  c.m_pDestFilter = new CDestFilter(nullptr, &SinkLock(), &created);
  c.m_pDestFilter->NonDelegatingAddRef();
  c.m_pGraph->AddFilter(c.m_pDestFilter, L"Dest Filter");

  IGraphBuilder* graph = c.m_pGraph.Get();
  CBDAGraph::ConnectPins(graph, c.m_pNetworkProvider.Get(), c.m_pTunerFilter.Get(), nullptr, nullptr);
  CBDAGraph::ConnectPins(graph, c.m_pTunerFilter.Get(), c.m_pCaptureFilter.Get(), nullptr, nullptr);
  CBDAGraph::ConnectPins(graph, c.m_pCaptureFilter.Get(), c.m_pTee.Get(), nullptr, nullptr);
  CBDAGraph::ConnectPins(graph, c.m_pTee.Get(), c.m_pDemux.Get(), nullptr, nullptr);
  CBDAGraph::ConnectPins(graph, c.m_pTee.Get(), c.m_pDestFilter, nullptr, nullptr);
  CBDAGraph::ConnectPins(graph, c.m_pDemux.Get(), c.m_pTIF.Get(), nullptr, nullptr);

  c.SetKsCtrl(nullptr);
  m_pTunerDevice = GetPinByName(c.m_pTunerFilter.Get(), "Input0");
  if (m_pTunerDevice) {
    c.SetKsCtrl(m_pTunerDevice.As<IKsPropertySet>());
    if (!c.m_pKsCtrl) {
      MessageBox(owner, "m_pTunerDevice QueryInterface Failed", "error");
      return false;
    }
  }
  return true;
}

void ReceiveGraph::Release() {
  TunerContext& c = TheTunerContext();
  if (c.m_pMediaControl) c.m_pMediaControl->Stop();
  if (c.m_pKsCtrl) c.SetKsCtrl(nullptr);
  if (c.m_pGraph) {
    if (c.m_pCaptureFilter) c.m_pGraph->RemoveFilter(c.m_pCaptureFilter.Get());
    if (c.m_pNetworkProvider) c.m_pGraph->RemoveFilter(c.m_pNetworkProvider.Get());
    if (c.m_pDestFilter) c.m_pGraph->RemoveFilter(c.m_pDestFilter);
  }
  c.m_pMediaControl = nullptr;
  c.m_pCaptureFilter = nullptr;
  c.m_pDemux = nullptr;
  c.m_pTee = nullptr;
  c.m_pTIF = nullptr;
  c.m_pNetworkProvider = nullptr;
  if (c.m_pTunerFilter) {
    if (c.m_pGraph) c.m_pGraph->RemoveFilter(c.m_pTunerFilter.Get());
    c.SetTunerFilter(nullptr);
  }
  if (c.m_pDestFilter) {
    std::exchange(c.m_pDestFilter, nullptr)->NonDelegatingRelease();
  }
  c.m_pGraph = nullptr;
  m_pTunerDevice = nullptr;
  CoUninitialize();
}

ComPtr<IBaseFilter> ReceiveGraph::CreateDVBSNetworkProvider() {
  m_pTuningSpace = FindDVBSTuningSpace();
  if (!m_pTuningSpace) return nullptr;
  std::wstring networkTypeText;
  m_pTuningSpace->get_NetworkType(&networkTypeText);
  CLSID networkType = GUID_NULL;
  CLSIDFromString(networkTypeText, &networkType);
  ComPtr<IBaseFilter> provider = Create<IBaseFilter>(networkType);
  if (!provider) return nullptr;
  ComPtr<ITuneRequest> request;
  m_pTuningSpace->CreateTuneRequest(request.ReleaseAndGetAddressOf());
  if (ComPtr<ITuner> tuner = provider.As<ITuner>()) {
    tuner->put_TuningSpace(m_pTuningSpace.Get());
    tuner->put_TuneRequest(request.Get());
  }
  return provider;
}

ComPtr<ITuningSpace> ReceiveGraph::FindDVBSTuningSpace() {
  ComPtr<ITuningSpaceContainer> container = Create<ITuningSpaceContainer>(CLSID_SystemTuningSpaces);
  if (!container) return nullptr;
  ComPtr<IEnumTuningSpaces> spaces;
  if (SUCCEEDED(container->get_EnumTuningSpaces(spaces.ReleaseAndGetAddressOf())) && spaces) {
    spaces->Reset();
    ComPtr<ITuningSpace> space;
    while (spaces->Next(1, space.ReleaseAndGetAddressOf(), nullptr) == S_OK) {
      std::wstring uniqueName;
      if (SUCCEEDED(space->get_UniqueName(&uniqueName)) && uniqueName == kTuningSpaceUniqueName) return space;
    }
  }
  ComPtr<ITuningSpace> created = CreateDVBSTuningSpace();
  if (created) container->Add(created.Get(), nullptr);
  return created;
}

ComPtr<ITuningSpace> ReceiveGraph::CreateDVBSTuningSpace() {
  ComPtr<IDVBSLocator> locator = Create<IDVBSLocator>(CLSID_DVBSLocator);
  ComPtr<IDVBTuningSpace2> space = Create<IDVBTuningSpace2>(CLSID_DVBSTuningSpace);
  if (!space) return nullptr;
  space->put__NetworkType(DVB_SATELLITE_TV_NETWORK_TYPE);
  space->put_SystemType(DVB_Satellite);
  space->put_DefaultLocator(locator.Get());
  space->put_FrequencyMapping(L"");
  space->put_FriendlyName(L"Local DVBS Tuner");
  space->put_UniqueName(kTuningSpaceUniqueName);
  if (ComPtr<IDVBSTuningSpace> dvbs = space.As<IDVBSTuningSpace>()) {
    dvbs->put_HighOscillator(-1);
    dvbs->put_InputRange(L"-1");
    dvbs->put_LNBSwitch(-1);
    dvbs->put_LowOscillator(-1);
    dvbs->put_SpectralInversion(BDA_SPECTRAL_INVERSION_NOT_SET);
  }
  return space.As<ITuningSpace>();
}
