// An enumerator over a fixed list of objects, for the enumerator interfaces
// of the Next/Skip/Reset/Clone shape (monikers, tuning spaces). Each object
// handed out carries a reference. Not thread-safe: one user at a time.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/com/com_object.h"

template <typename IEnum, typename IItem>
class VectorEnumerator final : public ComObject<VectorEnumerator<IEnum, IItem>, IEnum> {
 public:
  explicit VectorEnumerator(std::vector<ComPtr<IItem>> items) : m_items(std::move(items)) {}

  HRESULT Next(ULONG count, IItem** items, ULONG* fetched) override {
    if (!items) return E_POINTER;
    ULONG done = 0;
    while (done < count && m_position < m_items.size()) items[done++] = ComPtr<IItem>(m_items[m_position++]).Detach();
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    const std::size_t left = m_items.size() - m_position;
    m_position += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    m_position = 0;
    return S_OK;
  }
  HRESULT Clone(IEnum** clone) override {
    if (!clone) return E_POINTER;
    auto copy = MakeComObject<VectorEnumerator>(m_items);
    copy->m_position = m_position;
    *clone = copy.Detach();
    return S_OK;
  }

 private:
  std::vector<ComPtr<IItem>> m_items;
  std::size_t m_position = 0;
};
