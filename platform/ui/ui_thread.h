// Calls from other threads into the UI, like synchronous window messages:
// the caller waits until the UI thread has run the call. Never hold a lock
// across such a call that the UI thread might take.
#pragma once

#include <functional>

namespace ui {

// Marks the calling thread as the UI thread (the thread that owns the
// application object); done once by the application.
void SetUiThread();
bool IsUiThread();

// Runs fn on the UI thread and waits for it; runs it at once on the UI thread.
void SendToUiThread(const std::function<void()>& fn);
// Queues fn for the UI thread and returns at once.
void PostToUiThread(std::function<void()> fn);

// Waits on the UI thread until done() is true, processing UI events
// meanwhile so that threads sending to the UI do not block on us.
void WaitProcessingEvents(const std::function<bool()>& done);

}  // namespace ui
