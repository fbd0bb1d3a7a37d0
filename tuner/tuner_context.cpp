#include "tuner/tuner_context.h"

TunerContext& TheTunerContext() {
  static TunerContext context;
  return context;
}
