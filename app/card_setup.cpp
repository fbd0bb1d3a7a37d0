#include "app/card_setup.h"

#include "platform/devices/device_registry.h"
#include "platform/linuxdvb/dvb_kernel.h"
#include "platform/linuxdvb/linux_dvb_card.h"
#include "platform/media/platform_devices.h"
#include "platform/sim/sim_card.h"
#include "settings/program_folder.h"

void RegisterPlatformServices() {
  devices::RegisterSystemDeviceEnumerator();
  media::RegisterMediaPlatform();
}

CardInstallation::CardInstallation() = default;
CardInstallation::~CardInstallation() = default;

SetupResult CardInstallation::Install(const CommandLine& commandLine, std::string* error) {
  if (commandLine.simulate) {
    sim::SimConfig config;  // the built-in sky, no faults
    if (!commandLine.simulationFile.empty()) {
      auto loaded = sim::ReadSimFile(commandLine.simulationFile, error);
      if (!loaded) return SetupResult::BadOptions;
      config = std::move(*loaded);
    }
    m_simCard = sim::SimCard::Install(config, error);
    return m_simCard ? SetupResult::Ready : SetupResult::BadOptions;
  }
  linuxdvb::CardOptions options;
  options.adapter = commandLine.adapter;
  options.frontendIndex = commandLine.frontend;
  if (!ProgramFolder().empty()) options.frontend.carrierMemoryPath = ProgramFolder() + "/" + kTunedCarriersFile;
  if (commandLine.secPauseMs) {
    options.frontend.pauses.beforeMessageMs = *commandLine.secPauseMs;
    options.frontend.pauses.afterMessageMs = *commandLine.secPauseMs;
  }
  linuxdvb::InstallResult installed = linuxdvb::LinuxDvbCard::Install(linuxdvb::SystemDvbKernel(), options);
  m_dvbCard = std::move(installed.card);
  if (!installed.refusal.empty()) {
    *error = installed.refusal;
    return SetupResult::CardRefused;
  }
  return SetupResult::Ready;
}
