// Window timers for tests: nothing fires by itself; FireArmed fires every
// timer armed at the call once, as one period of time passing would. A
// dialog's 100 ms tick is thus counted in calls, with no real waiting.
// Installed for the life of the object.
#pragma once

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/ui/window_timers.h"

class ManualTimers {
 public:
  ManualTimers() : m_service(std::make_shared<Service>()), m_previous(ui::SetTimerService(m_service)) {}
  ~ManualTimers() { ui::SetTimerService(m_previous); }

  bool IsArmed(const void* owner, int id) const { return m_service->timers.count({owner, id}) != 0; }
  unsigned Period(const void* owner, int id) const { return m_service->timers.at({owner, id}).period; }
  std::size_t ArmedCount() const { return m_service->timers.size(); }
  // Fires each timer armed now once; returns how many fired.
  int FireArmed() {
    std::vector<std::pair<Key, std::uint64_t>> armed;
    for (const auto& [key, timer] : m_service->timers) armed.emplace_back(key, timer.generation);
    int fired = 0;
    for (const auto& [key, generation] : armed) {
      auto it = m_service->timers.find(key);
      if (it == m_service->timers.end() || it->second.generation != generation) continue;  // killed or re-armed meanwhile
      auto fire = it->second.fire;
      fire();
      ++fired;
    }
    return fired;
  }

 private:
  using Key = std::pair<const void*, int>;
  struct Timer {
    unsigned period;
    std::function<void()> fire;
    std::uint64_t generation;
  };
  struct Service final : ui::TimerService {
    void Set(const void* owner, int id, unsigned periodMs, std::function<void()> fire) override {
      timers[{owner, id}] = {periodMs, std::move(fire), ++generations};
    }
    void Kill(const void* owner, int id) override { timers.erase({owner, id}); }
    std::map<Key, Timer> timers;
    std::uint64_t generations = 0;
  };
  std::shared_ptr<Service> m_service;
  std::shared_ptr<ui::TimerService> m_previous;
};
