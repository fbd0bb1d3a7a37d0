#include "app/card_setup.h"

#include "platform/devices/device_registry.h"
#include "platform/linuxdvb/dvb_kernel.h"
#include "platform/linuxdvb/linux_dvb_card.h"
#include "platform/media/platform_devices.h"
#include "platform/sim/sim_card.h"
#include "settings/program_folder.h"
#include "settings/tool_settings.h"
#include "settings/tuner_settings.h"

void RegisterPlatformServices() {
  devices::RegisterSystemDeviceEnumerator();
  media::RegisterMediaPlatform();
}

CardInstallation::CardInstallation() = default;
CardInstallation::~CardInstallation() = default;

namespace {

// --ring-mb, else the settings file's, else the default.
std::size_t CaptureRingBytes(const CommandLine& commandLine) {
  std::optional<unsigned> mb = commandLine.ringMb;
  if (!mb && !ProgramFolder().empty()) mb = ReadToolSettings(TunerSettingsPath()).ringMb;
  return mb ? std::size_t{*mb} * 1024 * 1024 : kDefaultCaptureRingBytes;
}

}  // namespace

SetupResult CardInstallation::Install(const CommandLine& commandLine, std::string* error) {
  if (commandLine.simulate) {
    sim::SimConfig config;  // the built-in sky, no faults
    if (!commandLine.simulationFile.empty()) {
      auto loaded = sim::ReadSimFile(commandLine.simulationFile, error);
      if (!loaded) return SetupResult::BadOptions;
      config = std::move(*loaded);
    }
    config.stream.ringBytes = CaptureRingBytes(commandLine);
    m_simCard = sim::SimCard::Install(config, error);
    return m_simCard ? SetupResult::Ready : SetupResult::BadOptions;
  }
  linuxdvb::CardOptions options;
  options.adapter = commandLine.adapter;
  options.frontendIndex = commandLine.frontend;
  options.ringBytes = CaptureRingBytes(commandLine);
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
