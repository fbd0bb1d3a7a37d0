// The backend's log as a test reads it: every line kept, from any thread
// (the capture reader logs on its own).
#pragma once

#include <mutex>
#include <string>

#include "platform/linuxdvb/backend_log.h"

namespace linuxdvb {

class LogRecorder {
 public:
  // Valid while the recorder lives.
  BackendLog Sink() {
    return [this](const std::string& line) {
      std::lock_guard lock(m_mutex);
      m_text += line + '\n';
    };
  }
  std::string Text() const {
    std::lock_guard lock(m_mutex);
    return m_text;
  }
  bool Has(const std::string& part) const { return Text().find(part) != std::string::npos; }

 private:
  mutable std::mutex m_mutex;
  std::string m_text;
};

}  // namespace linuxdvb
