// Window timers (SetTimer, KillTimer) through one replaceable service. The
// production service runs each on a Qt timer of the UI thread; tests install
// their own and fire the ticks themselves, so a time limit counted in ticks
// costs no real time.
//
// UI thread only.
#pragma once

#include <functional>
#include <memory>

namespace ui {

class TimerService {
 public:
  virtual ~TimerService() = default;
  // Arms timer id of owner to call fire every periodMs; setting an armed
  // timer again restarts it with the new period.
  virtual void Set(const void* owner, int id, unsigned periodMs, std::function<void()> fire) = 0;
  // Disarms it; a timer not armed is left alone.
  virtual void Kill(const void* owner, int id) = 0;
};

// Installs service and returns the one it replaces; none restores Qt's.
std::shared_ptr<TimerService> SetTimerService(std::shared_ptr<TimerService> service);
TimerService& Timers();

}  // namespace ui
