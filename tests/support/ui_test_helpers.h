// Driving dialogs from tests: run a modal dialog with a script that runs
// inside its event loop, and wait for a condition while serving the UI.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>

#include "platform/ui/dialog.h"
#include "platform/ui/ui_thread.h"

// Serves UI events until pred() holds or timeoutMs passes (a safety net
// against hangs, not a timing assertion); returns pred().
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 10000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  ui::WaitProcessingEvents([&] { return pred() || std::chrono::steady_clock::now() > deadline; });
  return pred();
}

// The top-level dialog built from the template, if one is open.
inline CDialog* FindOpenDialog(int templateId) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = static_cast<CDialog*>(widget->property("rx40.dialog").value<void*>());
    if (dialog && widget->isVisible() && dialog->Template().id == templateId) return dialog;
  }
  return nullptr;
}

// Runs script once the next modal loop has started.
inline void WhenModalRuns(std::function<void()> script) { QTimer::singleShot(0, std::move(script)); }
