// Message boxes through one replaceable service. Production shows a modal
// box on the UI thread (the calling thread waits for the answer); tests
// install a recorder that answers at once. Every box is also written as one
// line on the debug output.
#pragma once

#include <memory>
#include <string>

class CDialog;

using UINT = unsigned int;

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONSTOP;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONEXCLAMATION = MB_ICONWARNING;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_ICONINFORMATION = 0x40;
// The second button is the default (Enter answers No).
constexpr UINT MB_DEFBUTTON2 = 0x100;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct MessageBoxRequest {
  const CDialog* owner;  // none for boxes without an owner window
  std::string text;
  std::string caption;
  UINT flags;
  std::string detail;  // why, beyond the box's own text; may be empty
};

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows the box and returns the button pressed (IDOK, IDCANCEL, IDYES, IDNO).
  virtual int Show(const MessageBoxRequest& request) = 0;
};

// Installs the service; returns the previous one. Without any service the
// box is only written to the debug output and answered with IDOK.
std::shared_ptr<MessageBoxService> SetMessageBoxService(std::shared_ptr<MessageBoxService> service);

// A box owned by a window (or none), with its own caption, and the reason
// behind it where one is known (shown under the text).
int MessageBox(const CDialog* owner, const std::string& text, const std::string& caption, UINT flags = MB_OK,
               const std::string& detail = {});
// The application's box: captioned with the application's name.
int AfxMessageBox(const std::string& text, UINT flags = MB_OK);

// The application's name, the caption of application boxes.
const std::string& AfxGetAppName();
void AfxSetAppName(std::string name);
