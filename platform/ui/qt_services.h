// The production services on Qt: modal message boxes on the UI thread, the
// desktop's default handler for opening documents, and SIGINT/SIGTERM turned
// into a call on the UI thread.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/message_box.h"

namespace ui {

std::shared_ptr<MessageBoxService> MakeQtMessageBoxService();

// Opens a document with the desktop's default handler (the shell's "open").
class ShellService {
 public:
  virtual ~ShellService() = default;
  virtual void Open(const std::string& path, const std::string& workingDirectory) = 0;
};
std::shared_ptr<ShellService> SetShellService(std::shared_ptr<ShellService> service);
// Opens path; a missing file shows nothing (one debug line).
void ShellOpen(const std::string& path, const std::string& workingDirectory);

// Calls handler on the UI thread when SIGINT or SIGTERM arrives.
void OnTerminationSignal(std::function<void()> handler);

}  // namespace ui
