// The whole platform as the program sets it up on a real card, with the
// kernel replaced by the fake one: the program platform (program_platform.h)
// and the adapter installed as the card. The tuner context is emptied
// afterwards.
#pragma once

#include <memory>
#include <stdexcept>

#include "platform/linuxdvb/linux_dvb_card.h"
#include "platform/ui/debug_output.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"
#include "tests/support/program_platform.h"

class LinuxDvbPlatform : public ProgramPlatform {
 public:
  explicit LinuxDvbPlatform(FakeFrontend frontend = {}, FakeDemux demux = {}) : ProgramPlatform("rx40-dvb-test-") {
    m_kernel->AddAdapter(0, std::move(frontend), demux);
    linuxdvb::CardOptions options;
    options.log = OutputDebugString;  // as the program wires it
    linuxdvb::InstallResult installed = linuxdvb::LinuxDvbCard::Install(m_kernel, options);
    if (!installed.card) throw std::runtime_error(installed.refusal);
    m_card = std::move(installed.card);
  }
  ~LinuxDvbPlatform() {
    ReleaseTunerContext();
    m_card.reset();
  }

  FakeDvbKernel& Kernel() { return *m_kernel; }

 private:
  std::shared_ptr<FakeDvbKernel> m_kernel = std::make_shared<FakeDvbKernel>();
  std::shared_ptr<linuxdvb::LinuxDvbCard> m_card;
};
