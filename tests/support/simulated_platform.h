// The whole platform as the program sets it up, on the simulated card, for
// tests that build the receive graph: the program platform
// (program_platform.h) and the card itself. The tuner context is emptied
// afterwards.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/com/runtime.h"
#include "platform/sim/sim_card.h"
#include "platform/sim/sim_file.h"
#include "tests/support/program_platform.h"

// The configuration a --simulate file of this text gives; a text the card
// refuses throws, naming why.
inline sim::SimConfig SimConfigFrom(const std::string& text) {
  std::string error;
  auto config = sim::ParseSimText(text, &error);
  if (!config) throw std::runtime_error(error);
  return *config;
}

class SimulatedPlatform : public ProgramPlatform {
 public:
  explicit SimulatedPlatform(const sim::SimConfig& config = {}) : ProgramPlatform("rx40-test-") {
    std::string error;
    m_card = sim::SimCard::Install(config, &error);
    if (!m_card) throw std::runtime_error(error);
  }
  ~SimulatedPlatform() {
    ReleaseTunerContext();
    m_card.reset();
  }

  sim::SimCard& Card() { return *m_card; }

 private:
  std::shared_ptr<sim::SimCard> m_card;
};
