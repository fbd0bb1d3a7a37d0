#include "platform/media/media_classes.h"

#include <new>

#include "platform/com/runtime.h"
#include "platform/media/filter_graph.h"
#include "platform/media/inf_tee_filter.h"
#include "platform/media/mem_allocator.h"
#include "platform/media/mpeg2_demux_filter.h"
#include "platform/media/tif_filter.h"

void RegisterMediaClasses() {
  RegisterClassFactory(CLSID_FilterGraph, CreateComObject<CFilterGraph>);
  RegisterClassFactory(CLSID_MemoryAllocator, CreateComObject<CMemAllocator>);
  RegisterClassFactory(CLSID_InfTee, CreateFrameworkObject<CInfTeeFilter>);
  RegisterClassFactory(CLSID_MPEG2Demultiplexer, CreateFrameworkObject<CMpeg2DemuxFilter>);
  RegisterClassFactory(CLSID_TransportInformationFilter, CreateFrameworkObject<CTifFilter>);
}
