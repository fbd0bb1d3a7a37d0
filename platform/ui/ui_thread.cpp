#include "platform/ui/ui_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace ui {
namespace {

std::atomic<QThread*> g_uiThread{nullptr};

// Qt's event queue hands a call over under its own lock, which tools such as
// ThreadSanitizer cannot see. Queuing under this mutex, and taking it once
// on the UI thread before the call runs, makes that order visible: the call
// runs after its queuing, so its lock follows the queuing's unlock.
std::mutex& QueuingOrder() {
  static std::mutex order;
  return order;
}

template <typename Call>
void QueueOnUiThread(Call call) {
  std::lock_guard order(QueuingOrder());
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [call = std::move(call)]() mutable {
        { std::lock_guard queued(QueuingOrder()); }
        call();
      },
      Qt::QueuedConnection);
}

}  // namespace

void SetUiThread() { g_uiThread = QThread::currentThread(); }

bool IsUiThread() {
  QThread* ui = g_uiThread.load();
  return ui ? QThread::currentThread() == ui : true;
}

void SendToUiThread(const std::function<void()>& fn) {
  if (IsUiThread() || !QCoreApplication::instance()) {
    fn();
    return;
  }
  // A queued call and a wait on std primitives rather than a blocking queued
  // call, so that every tool (ThreadSanitizer too) sees the order: what the
  // caller wrote before is seen by fn, what fn wrote is seen after.
  struct Handover {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
  };
  auto handover = std::make_shared<Handover>();
  // Released when the queued call is gone: run, or dropped unrun.
  std::shared_ptr<void> pending(nullptr, [handover](void*) {
    std::lock_guard lock(handover->mutex);
    handover->done = true;
    handover->finished.notify_one();
  });
  QueueOnUiThread([&fn, pending] { fn(); });
  pending.reset();
  std::unique_lock lock(handover->mutex);
  handover->finished.wait(lock, [&] { return handover->done; });
}

void PostToUiThread(std::function<void()> fn) {
  if (!QCoreApplication::instance()) {
    fn();
    return;
  }
  QueueOnUiThread(std::move(fn));
}

void WaitProcessingEvents(const std::function<bool()>& done) {
  while (!done()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

}  // namespace ui
