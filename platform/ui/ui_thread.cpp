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
  QMetaObject::invokeMethod(QCoreApplication::instance(), [&fn, pending] { fn(); }, Qt::QueuedConnection);
  pending.reset();
  std::unique_lock lock(handover->mutex);
  handover->finished.wait(lock, [&] { return handover->done; });
}

void PostToUiThread(std::function<void()> fn) {
  if (!QCoreApplication::instance()) {
    fn();
    return;
  }
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(fn), Qt::QueuedConnection);
}

void WaitProcessingEvents(const std::function<bool()>& done) {
  while (!done()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
}

}  // namespace ui
