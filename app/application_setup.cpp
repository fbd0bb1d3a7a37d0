#include "app/application_setup.h"

#include "platform/devices/device_notifications.h"
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
  RegisterPlatformServices();
  SetMessageBoxService(ui::MakeQtMessageBoxService());

  const SetupResult installed = m_card.Install(commandLine, error);
  if (installed != SetupResult::Ready) return installed;

  // Removals of the card, of storage volumes and of serial ports close the
  // main window.
  m_deviceSubscription = devices::SubscribeDeviceChanges([](std::uint32_t code) { BroadcastDeviceChange(code); });
  m_udevWatch = std::make_unique<devices::UdevRemovalWatch>();
  // SIGINT and SIGTERM end the main window as Cancel does.
  ui::OnTerminationSignal([] { CancelAllDialogs(); });
  return SetupResult::Ready;
}
