#include "platform/ui/qt_services.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QUrl>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/ui/debug_output.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_thread.h"

namespace ui {
namespace {

class QtMessageBoxService final : public MessageBoxService {
 public:
  int Show(const MessageBoxRequest& request) override {
    int answer = IDOK;
    SendToUiThread([&] {
      QMessageBox box(request.owner ? request.owner->Widget() : nullptr);
      box.setWindowTitle(QString::fromStdString(request.caption));
      box.setText(QString::fromStdString(request.text));
      if (!request.detail.empty()) box.setInformativeText(QString::fromStdString(request.detail));
      switch (request.flags & MB_ICONMASK) {
        case MB_ICONSTOP: box.setIcon(QMessageBox::Critical); break;
        case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
        case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
        default: break;
      }
      switch (request.flags & MB_TYPEMASK) {
        case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        default: box.setStandardButtons(QMessageBox::Ok); break;
      }
      if (request.flags & MB_DEFBUTTON2) {
        const auto buttons = box.buttons();
        if (buttons.size() > 1) box.setDefaultButton(qobject_cast<QPushButton*>(buttons[1]));
      }
      switch (box.exec()) {
        case QMessageBox::Cancel: answer = IDCANCEL; break;
        case QMessageBox::Yes: answer = IDYES; break;
        case QMessageBox::No: answer = IDNO; break;
        default: answer = IDOK; break;
      }
    });
    return answer;
  }
};

class DesktopShell final : public ShellService {
 public:
  void Open(const std::string& path, const std::string&) override {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  }
};

std::shared_ptr<ShellService>& Shell() {
  static std::shared_ptr<ShellService> shell = std::make_shared<DesktopShell>();
  return shell;
}

int g_signalPipe[2] = {-1, -1};

void WriteSignalByte(int) {
  const char byte = 1;
  [[maybe_unused]] auto written = write(g_signalPipe[1], &byte, 1);
}

}  // namespace

std::shared_ptr<MessageBoxService> MakeQtMessageBoxService() { return std::make_shared<QtMessageBoxService>(); }

std::shared_ptr<ShellService> SetShellService(std::shared_ptr<ShellService> service) {
  return std::atomic_exchange(&Shell(), std::move(service));
}

void ShellOpen(const std::string& path, const std::string& workingDirectory) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    OutputDebugString("help file not found: " + path);
    return;
  }
  std::atomic_load(&Shell())->Open(path, workingDirectory);
}

void OnTerminationSignal(std::function<void()> handler) {
  if (g_signalPipe[0] < 0 && socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [handler = std::move(handler)] {
    char byte;
    [[maybe_unused]] auto got = read(g_signalPipe[0], &byte, 1);
    handler();
  });
  struct sigaction action {};
  action.sa_handler = WriteSignalByte;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace ui
