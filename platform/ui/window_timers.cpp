#include "platform/ui/window_timers.h"

#include <QTimer>
#include <map>
#include <utility>

namespace ui {
namespace {

class QtTimers final : public TimerService {
 public:
  void Set(const void* owner, int id, unsigned periodMs, std::function<void()> fire) override {
    Kill(owner, id);
    auto& timer = m_timers[{owner, id}];
    timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, std::move(fire));
    timer->start(static_cast<int>(periodMs));
  }
  void Kill(const void* owner, int id) override {
    // Deleted later: a handler may kill its own timer while it fires.
    auto it = m_timers.find({owner, id});
    if (it == m_timers.end()) return;
    QTimer* timer = it->second.release();
    timer->stop();
    timer->disconnect();
    timer->deleteLater();
    m_timers.erase(it);
  }

 private:
  std::map<std::pair<const void*, int>, std::unique_ptr<QTimer>> m_timers;
};

std::shared_ptr<TimerService>& Installed() {
  static std::shared_ptr<TimerService> service = std::make_shared<QtTimers>();
  return service;
}

}  // namespace

std::shared_ptr<TimerService> SetTimerService(std::shared_ptr<TimerService> service) {
  auto previous = std::move(Installed());
  Installed() = service ? std::move(service) : std::make_shared<QtTimers>();
  return previous;
}

TimerService& Timers() { return *Installed(); }

}  // namespace ui
