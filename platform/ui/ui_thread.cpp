#include "platform/ui/ui_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <atomic>

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
  QMetaObject::invokeMethod(QCoreApplication::instance(), fn, Qt::BlockingQueuedConnection);
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
