// CEnumFilters: walks a snapshot of the graph's filters taken when the
// enumerator was made (or reset through its graph), each held with a
// reference. One enumerator is used by one thread at a time.
#pragma once

#include <vector>

#include "platform/com/com_object.h"
#include "platform/media/media_interfaces.h"

class CEnumFilters final : public ComObject<CEnumFilters, IEnumFilters> {
 public:
  CEnumFilters(std::vector<ComPtr<IBaseFilter>> filters, std::size_t position);

  HRESULT Next(ULONG count, IBaseFilter** filters, ULONG* fetched) override;
  HRESULT Skip(ULONG count) override;
  HRESULT Reset() override;
  HRESULT Clone(IEnumFilters** clone) override;

 private:
  const std::vector<ComPtr<IBaseFilter>> m_filters;
  std::size_t m_position;
};
