// Installs a message box service that answers at once and remembers every
// box, for the life of the recorder: OK, or for a yes/no question the answer
// set by AnswerQuestions (yes unless told).
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "platform/ui/message_box.h"

class MessageBoxRecorder {
 public:
  struct Box {
    const CDialog* owner;
    std::string text;
    std::string caption;
    UINT flags;
    std::string detail;
  };

  MessageBoxRecorder() : m_service(std::make_shared<Service>()) { m_previous = SetMessageBoxService(m_service); }
  ~MessageBoxRecorder() { SetMessageBoxService(m_previous); }

  std::vector<Box> Boxes() const {
    std::lock_guard lock(m_service->mutex);
    return m_service->boxes;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : Boxes()) texts.push_back(box.text);
    return texts;
  }
  void AnswerQuestions(int answer) { m_service->questionAnswer = answer; }
  void Clear() {
    std::lock_guard lock(m_service->mutex);
    m_service->boxes.clear();
  }

 private:
  struct Service final : MessageBoxService {
    int Show(const MessageBoxRequest& r) override {
      std::lock_guard lock(mutex);
      boxes.push_back({r.owner, r.text, r.caption, r.flags, r.detail});
      return (r.flags & MB_TYPEMASK) == MB_YESNO ? questionAnswer.load() : IDOK;
    }
    std::atomic<int> questionAnswer{IDYES};
    mutable std::mutex mutex;
    std::vector<Box> boxes;
  };
  std::shared_ptr<Service> m_service;
  std::shared_ptr<MessageBoxService> m_previous;
};
