#include "platform/linuxdvb/tune_search.h"

#include <utility>

namespace linuxdvb {

void TuneSearch::Start(std::vector<TuneAttempt> attempts, std::uint32_t acquisitionMs, std::uint64_t nowMs) {
  m_attempts = std::move(attempts);
  m_index = 0;
  m_acquisitionMs = acquisitionMs;
  m_sentMs = nowMs;
  m_settled = m_attempts.empty();
  m_exhausted = false;
}

const TuneAttempt* TuneSearch::Advance(bool locked, std::uint64_t nowMs) {
  if (m_settled) return nullptr;
  if (locked) {
    m_settled = true;
    return nullptr;
  }
  if (nowMs - m_sentMs < m_acquisitionMs) return nullptr;
  if (m_index + 1 >= m_attempts.size()) {
    m_settled = true;
    m_exhausted = true;
    return nullptr;
  }
  ++m_index;
  m_sentMs = nowMs;
  return &m_attempts[m_index];
}

}  // namespace linuxdvb
