#include "platform/media/enum_filters.h"

CEnumFilters::CEnumFilters(std::vector<ComPtr<IBaseFilter>> filters, std::size_t position)
    : m_filters(std::move(filters)), m_position(position) {}

HRESULT CEnumFilters::Next(ULONG count, IBaseFilter** filters, ULONG* fetched) {
  if (!filters) return E_POINTER;
  if (!fetched && count > 1) return E_INVALIDARG;
  ULONG got = 0;
  while (got < count && m_position < m_filters.size()) filters[got++] = ComPtr<IBaseFilter>(m_filters[m_position++]).Detach();
  if (fetched) *fetched = got;
  return got == count ? S_OK : S_FALSE;
}

HRESULT CEnumFilters::Skip(ULONG count) {
  if (m_filters.size() - m_position < count) {
    m_position = m_filters.size();
    return S_FALSE;
  }
  m_position += count;
  return S_OK;
}

HRESULT CEnumFilters::Reset() {
  m_position = 0;
  return S_OK;
}

HRESULT CEnumFilters::Clone(IEnumFilters** clone) {
  if (!clone) return E_POINTER;
  *clone = MakeComObject<CEnumFilters>(m_filters, m_position).Detach();
  return S_OK;
}
