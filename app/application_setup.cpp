#include "app/application_setup.h"

#include "platform/devices/device_notifications.h"
#include "platform/devices/device_registry.h"
#include "platform/linuxdvb/dvb_kernel.h"
#include "platform/linuxdvb/linux_dvb_card.h"
#include "platform/media/platform_devices.h"
#include "platform/sim/sim_card.h"
#include "platform/ui/dialog.h"
#include "platform/ui/qt_services.h"
#include "platform/ui/ui_thread.h"
#include "resources/resource_ids.h"

ApplicationSetup::ApplicationSetup() = default;

ApplicationSetup::~ApplicationSetup() {
  if (m_deviceSubscription) devices::UnsubscribeDeviceChanges(m_deviceSubscription);
}

SetupResult ApplicationSetup::Start(const CommandLine& commandLine, std::string* error) {
  ui::SetUiThread();
  RegisterResources();
  devices::RegisterSystemDeviceEnumerator();
  media::RegisterMediaPlatform();
  SetMessageBoxService(ui::MakeQtMessageBoxService());

  if (commandLine.simulate) {
    sim::SimConfig config;  // the built-in sky, no faults
    if (!commandLine.simulationFile.empty()) {
      auto loaded = sim::ReadSimFile(commandLine.simulationFile, error);
      if (!loaded) return SetupResult::BadOptions;
      config = std::move(*loaded);
    }
    m_simCard = sim::SimCard::Install(config, error);
    if (!m_simCard) return SetupResult::BadOptions;
  } else {
    linuxdvb::CardOptions options;
    options.adapter = commandLine.adapter;
    if (commandLine.secPauseMs) {
      options.frontend.pauses.beforeMessageMs = *commandLine.secPauseMs;
      options.frontend.pauses.afterMessageMs = *commandLine.secPauseMs;
    }
    // Without a usable adapter nothing is registered and start-up refuses
    // as without a card, unless the adapter found cannot be used.
    linuxdvb::InstallResult installed = linuxdvb::LinuxDvbCard::Install(linuxdvb::SystemDvbKernel(), options);
    m_dvbCard = std::move(installed.card);
    if (!installed.refusal.empty()) {
      *error = installed.refusal;
      return SetupResult::CardRefused;
    }
  }

  // Removals of the card, of storage volumes and of serial ports close the
  // main window.
  m_deviceSubscription = devices::SubscribeDeviceChanges([](std::uint32_t code) { BroadcastDeviceChange(code); });
  m_udevWatch = std::make_unique<devices::UdevRemovalWatch>();
  // SIGINT and SIGTERM end the main window as Cancel does.
  ui::OnTerminationSignal([] { CancelAllDialogs(); });
  return SetupResult::Ready;
}
