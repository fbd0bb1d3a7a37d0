#include "tuner/tuner_context.h"

TunerContext& TheTunerContext() {
  static TunerContext context;
  return context;
}

std::atomic<std::int32_t>& SignalLockedFlag() {
  static std::atomic<std::int32_t> flag{0};
  return flag;
}
