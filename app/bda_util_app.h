// The application object: checks for the card, prepares the process-wide
// state and runs the main window.
#pragma once

#include <string>

class CBDAUtilApp {
 public:
  // programFolder: where the settings and data files live.
  explicit CBDAUtilApp(std::string programFolder);

  // Always false: the application ends when the main window closes.
  bool InitInstance();
  // 0 after the main window ran; non-zero when the card was missing.
  int ExitCode() const { return m_nExitCode; }

 private:
  std::string m_programFolder;
  int m_nExitCode = 0;
};
