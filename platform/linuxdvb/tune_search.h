// The progress of one tune's search through its attempts (tune_plan.h): the
// attempt on the frontend now, and when it went out. The frontend asks after
// each status read whether to move on; a lock settles the search. Not
// thread-safe: the frontend's mutex guards it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/linuxdvb/tune_plan.h"

namespace linuxdvb {

class TuneSearch {
 public:
  // A new search; the first attempt goes out at nowMs.
  void Start(std::vector<TuneAttempt> attempts, std::uint32_t acquisitionMs, std::uint64_t nowMs);
  // Ends the search (a lock, or a tune that failed); Current() stays.
  void Settle() { m_settled = true; }

  // The attempt to send next: after an unlocked read once the current one
  // has had its time; none while it may still lock, once settled, and after
  // the last attempt (the search is then exhausted and settles).
  const TuneAttempt* Advance(bool locked, std::uint64_t nowMs);

  const TuneAttempt* Current() const { return m_index < m_attempts.size() ? &m_attempts[m_index] : nullptr; }
  bool IsSearching() const { return !m_settled && Current(); }
  bool IsExhausted() const { return m_exhausted; }
  std::size_t Number() const { return m_index + 1; }  // of the current attempt, from 1
  std::size_t Count() const { return m_attempts.size(); }

 private:
  std::vector<TuneAttempt> m_attempts;
  std::size_t m_index = 0;
  std::uint32_t m_acquisitionMs = 0;
  std::uint64_t m_sentMs = 0;
  bool m_settled = true;
  bool m_exhausted = false;
};

}  // namespace linuxdvb
