// rx40ctl's output. Results and readings go to stdout, one line each: the
// human text, or with --json one JSON object. Errors go to stderr as
// "rx40ctl: COMMAND: text" (with --json also as an "error" object on
// stdout) and decide the exit status: 2 for bad usage, 1 for anything that
// failed on the card or its driver, else 0. Progress goes to stderr only
// when that is a terminal, rewriting one line.
//
// Any thread: the driver's boxes may come from any of them.
#pragma once

#include <memory>
#include <mutex>
#include <ostream>
#include <string>

#include "cli/json_line.h"
#include "platform/ui/message_box.h"

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

class Console {
 public:
  Console(std::ostream& out, std::ostream& err, bool json, bool progressToTerminal);

  // The command the following errors belong to, and its usage line.
  void SetCommand(std::string command, std::string usage);
  bool Json() const { return m_json; }

  // One result or reading; json gets a "type" member first.
  void Result(const std::string& type, const JsonObject& json, const std::string& text);
  // Something that failed on the card or in its driver.
  void Error(const std::string& text);
  // Something the user should know that does not make the command fail.
  void Warning(const std::string& text);
  // Arguments that cannot be used, followed by the command's usage line.
  void UsageError(const std::string& text);

  // Whether progress lines are shown (stderr is a terminal).
  bool ShowsProgress() const { return m_progress; }
  // A progress line, shown only on a terminal; EndProgress ends it.
  void Progress(const std::string& text);
  void EndProgress();

  int ExitStatus() const;

 private:
  void WriteError(const std::string& text, const char* type = "error");

  mutable std::mutex m_mutex;
  std::ostream& m_out;
  std::ostream& m_err;
  const bool m_json;
  const bool m_progress;
  bool m_progressShown = false;
  std::string m_command;
  std::string m_usage;
  int m_status = kExitSuccess;
};

// The window's boxes as errors on the console, answered OK at once: the
// same texts a user of the window reads in a box.
std::shared_ptr<MessageBoxService> MakeConsoleMessageBoxService(Console& console);
