#include "platform/ui/message_box.h"

#include <atomic>
#include <mutex>

#include "platform/ui/debug_output.h"

namespace {

std::shared_ptr<MessageBoxService>& Service() {
  static std::shared_ptr<MessageBoxService> service;
  return service;
}

std::string& AppName() {
  static std::string name = "OrvaneRX40 Tessel";
  return name;
}

}  // namespace

std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service) {
  return std::atomic_exchange(&Service(), std::move(service));
}

int MessageBox(const CDialog* owner, const std::string& text, const std::string& caption, UINT flags,
               const std::string& detail) {
  OutputBoxLine("[message box] " + caption + ": " + text + (detail.empty() ? "" : " (" + detail + ")"));
  auto service = std::atomic_load(&Service());
  if (!service) return IDOK;
  return service->Show({owner, text, caption, flags, detail});
}

int AfxMessageBox(const std::string& text, UINT flags) { return MessageBox(nullptr, text, AfxGetAppName(), flags); }

const std::string& AfxGetAppName() { return AppName(); }
void AfxSetAppName(std::string name) { AppName() = std::move(name); }
