#include "cli/console.h"

#include <algorithm>

namespace {

constexpr char kProgram[] = "rx40ctl";

class ConsoleMessageBoxService final : public MessageBoxService {
 public:
  explicit ConsoleMessageBoxService(Console& console) : m_console(console) {}
  int Show(const MessageBoxRequest& request) override {
    m_console.Error(request.detail.empty() ? request.text : request.text + ": " + request.detail);
    return IDOK;
  }

 private:
  Console& m_console;
};

}  // namespace

Console::Console(std::ostream& out, std::ostream& err, bool json, bool progressToTerminal)
    : m_out(out), m_err(err), m_json(json), m_progress(progressToTerminal) {}

void Console::SetCommand(std::string command, std::string usage) {
  std::lock_guard lock(m_mutex);
  m_command = std::move(command);
  m_usage = std::move(usage);
}

void Console::Result(const std::string& type, const JsonObject& json, const std::string& text) {
  std::lock_guard lock(m_mutex);
  if (m_json) {
    m_out << JsonObject().Text("type", type).Append(json).Line() << '\n';
  } else {
    m_out << text << '\n';
  }
  m_out.flush();
}

void Console::WriteError(const std::string& text, const char* type) {
  if (m_progressShown) {
    m_err << '\n';
    m_progressShown = false;
  }
  // A box text may end in a newline or hold several lines; one error, one line.
  std::string line = text;
  while (!line.empty() && line.back() == '\n') line.pop_back();
  std::replace(line.begin(), line.end(), '\n', ' ');
  const std::string label = std::string(type) == "error" ? "" : std::string(type) + ": ";
  m_err << kProgram << ": " << (m_command.empty() ? "" : m_command + ": ") << label << line << '\n';
  m_err.flush();
  if (m_json) {
    JsonObject error;
    error.Text("type", type);
    if (!m_command.empty()) error.Text("command", m_command);
    error.Text("message", line);
    m_out << error.Line() << '\n';
    m_out.flush();
  }
}

void Console::Error(const std::string& text) {
  std::lock_guard lock(m_mutex);
  WriteError(text);
  m_status = std::max(m_status, kExitFailure);
}

void Console::Warning(const std::string& text) {
  std::lock_guard lock(m_mutex);
  WriteError(text, "warning");
}

void Console::UsageError(const std::string& text) {
  std::lock_guard lock(m_mutex);
  WriteError(text);
  m_err << m_usage;
  if (!m_usage.empty() && m_usage.back() != '\n') m_err << '\n';
  m_err.flush();
  m_status = kExitUsage;
}

void Console::Progress(const std::string& text) {
  std::lock_guard lock(m_mutex);
  if (!m_progress) return;
  // Blanks after the text wipe what a longer line before left.
  m_err << '\r' << text << "   " << std::flush;
  m_progressShown = true;
}

void Console::EndProgress() {
  std::lock_guard lock(m_mutex);
  if (!m_progressShown) return;
  m_err << '\n' << std::flush;
  m_progressShown = false;
}

int Console::ExitStatus() const {
  std::lock_guard lock(m_mutex);
  return m_status;
}

std::shared_ptr<MessageBoxService> MakeConsoleMessageBoxService(Console& console) {
  return std::make_shared<ConsoleMessageBoxService>(console);
}
