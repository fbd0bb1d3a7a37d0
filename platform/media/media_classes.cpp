#include "platform/media/media_classes.h"

#include <new>

#include "platform/com/runtime.h"
#include "platform/media/filter_graph.h"
#include "platform/media/inf_tee_filter.h"
#include "platform/media/mem_allocator.h"
#include "platform/media/mpeg2_demux_filter.h"
#include "platform/media/tif_filter.h"

namespace {

// A framework filter starts at a count of 0: the query takes the caller's
// reference, and a failed query destroys it again.
template <typename Filter>
HRESULT CreateFilter(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  auto* filter = new (std::nothrow) Filter();
  if (!filter) return E_OUTOFMEMORY;
  filter->NonDelegatingAddRef();
  const HRESULT hr = filter->NonDelegatingQueryInterface(riid, ppv);
  filter->NonDelegatingRelease();
  return hr;
}

template <typename Object>
HRESULT CreateObject(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  return MakeComObject<Object>()->QueryInterface(riid, ppv);
}

}  // namespace

void RegisterMediaClasses() {
  RegisterClassFactory(CLSID_FilterGraph, CreateObject<CFilterGraph>);
  RegisterClassFactory(CLSID_MemoryAllocator, CreateObject<CMemAllocator>);
  RegisterClassFactory(CLSID_InfTee, CreateFilter<CInfTeeFilter>);
  RegisterClassFactory(CLSID_MPEG2Demultiplexer, CreateFilter<CMpeg2DemuxFilter>);
  RegisterClassFactory(CLSID_TransportInformationFilter, CreateFilter<CTifFilter>);
}
