#include "platform/com/error_info.h"

#include <utility>

namespace {

std::string& Description() {
  thread_local std::string text;
  return text;
}

}  // namespace

void SetErrorDescription(std::string text) { Description() = std::move(text); }
void ClearErrorDescription() { Description().clear(); }
std::string TakeErrorDescription() { return std::exchange(Description(), {}); }
