#include "app/card_setup.h"

#include <cstring>

#include "platform/devices/device_registry.h"
#include "platform/linuxdvb/dvb_kernel.h"
#include "platform/linuxdvb/linux_dvb_card.h"
#include "platform/media/platform_devices.h"
#include "platform/sim/sim_card.h"
#include "platform/ui/debug_output.h"
#include "settings/file_contents.h"
#include "settings/program_folder.h"
#include "settings/tool_settings.h"
#include "settings/tuner_settings.h"

void RegisterPlatformServices() {
  devices::RegisterSystemDeviceEnumerator();
  media::RegisterMediaPlatform();
}

namespace {

std::string MotorMemoryPath() { return ProgramFolder().empty() ? "" : ProgramFolder() + "/" + sim::kMotorMemoryFile; }

// The simulated dish where the last run left it, as a real motor keeps it.
void RecallSimulatedDish(sim::SimCard& card) {
  const std::string path = MotorMemoryPath();
  std::string text;
  if (path.empty() || ReadFileContents(path, text) != 0) return;
  std::string error;
  if (const auto memory = sim::ParseMotorMemory(text, &error)) card.Driver()->RecallMotor(*memory);
  else OutputDebugString(path + ": " + error + "; the dish starts where the card's FILE puts it");
}

void RememberSimulatedDish(sim::SimCard& card) {
  const std::string path = MotorMemoryPath();
  if (path.empty()) return;
  if (const int error = ReplaceFileContents(path, sim::MotorMemoryText(card.Driver()->RememberMotor())))
    OutputDebugString(path + ": the dish's position cannot be kept: " + std::strerror(error));
}

}  // namespace

CardInstallation::CardInstallation() = default;

CardInstallation::~CardInstallation() {
  if (m_simCard) RememberSimulatedDish(*m_simCard);
}

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
    if (!m_simCard) return SetupResult::BadOptions;
    RecallSimulatedDish(*m_simCard);
    return SetupResult::Ready;
  }
  linuxdvb::CardOptions options;
  options.adapter = commandLine.adapter;
  options.frontendIndex = commandLine.frontend;
  options.ringBytes = CaptureRingBytes(commandLine);
  options.log = OutputDebugString;
  if (!ProgramFolder().empty()) options.frontend.carrierMemoryPath = ProgramFolder() + "/" + kTunedCarriersFile;
  if (commandLine.secPauseMs) {
    options.frontend.pauses.beforeMessageMs = *commandLine.secPauseMs;
    options.frontend.pauses.afterMessageMs = *commandLine.secPauseMs;
  }
  linuxdvb::InstallResult installed = linuxdvb::LinuxDvbCard::Install(linuxdvb::SystemDvbKernel(options.log), options);
  m_dvbCard = std::move(installed.card);
  if (!installed.refusal.empty()) {
    *error = installed.refusal;
    return SetupResult::CardRefused;
  }
  return SetupResult::Ready;
}
