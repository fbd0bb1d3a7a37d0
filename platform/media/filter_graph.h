// CFilterGraph: the graph manager (class CLSID_FilterGraph). It holds its
// filters with a reference (each filter holds the graph without one),
// connects their pins directly with media type negotiation, and drives
// their states:
//   Run and Pause: downstream first (sinks before sources), so every filter
//     is ready before any upstream filter starts delivering into it; a
//     filter that fails makes the graph stop again.
//   Stop: upstream first (sources before sinks), so the streaming threads
//     end (each source's Stop waits for its thread) before the filters they
//     feed are deactivated. Stop returns only when no sample is in flight.
// Releasing the graph stops it and removes every filter, breaking their
// connections (which would otherwise keep the filters alive through each
// other).
//
// Threads: any caller thread. m_operation serialises every graph edit and
// state change; it is held while filters are called, so a filter must not
// call back into the graph from a streaming thread that a Stop waits for.
// m_filters and m_state are guarded by m_operation.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/com/com_object.h"
#include "platform/media/media_interfaces.h"

class CFilterGraph final : public ComObject<CFilterGraph, IGraphBuilder, IMediaControl> {
 public:
  CFilterGraph();
  ~CFilterGraph() override;

  // IFilterGraph
  // A missing or taken name becomes a unique one ("name 0001", ...).
  HRESULT AddFilter(IBaseFilter* filter, LPCWSTR name) override;
  // Stops the filter if needed and disconnects both ends of its pins first.
  HRESULT RemoveFilter(IBaseFilter* filter) override;
  HRESULT EnumFilters(IEnumFilters** filters) override;
  HRESULT FindFilterByName(LPCWSTR name, IBaseFilter** filter) override;
  HRESULT ConnectDirect(IPin* out, IPin* in, const AM_MEDIA_TYPE* mt) override;
  HRESULT Disconnect(IPin* pin) override;
  // IGraphBuilder: a direct connection with media type negotiation.
  HRESULT Connect(IPin* out, IPin* in) override;
  // IMediaControl
  HRESULT Run() override;
  HRESULT Pause() override;
  HRESULT Stop() override;
  HRESULT GetState(LONG timeoutMs, OAFilterState* state) override;

 private:
  struct Entry {
    ComPtr<IBaseFilter> filter;
    std::wstring name;
  };

  std::vector<ComPtr<IBaseFilter>> FiltersLocked() const;
  std::vector<Entry>::iterator FindLocked(IBaseFilter* filter);
  bool ContainsPinFilterLocked(IPin* pin);
  std::wstring UniqueNameLocked(LPCWSTR name) const;
  HRESULT RemoveLocked(std::vector<Entry>::iterator entry);
  HRESULT ChangeStateLocked(FILTER_STATE target);
  HRESULT StopLocked();

  std::recursive_mutex m_operation;
  std::vector<Entry> m_filters;
  FILTER_STATE m_state = State_Stopped;
};
