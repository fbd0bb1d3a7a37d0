#include "cli/card_session.h"

#include "platform/com/runtime.h"
#include "platform/devices/device_notifications.h"
#include "platform/media/bda_interfaces.h"
#include "platform/ui/message_box.h"
#include "tuner/find_filter.h"
#include "tuner/tuner_context.h"

CardSession::CardSession(Console& console, StopRequest& stop, OnRemoval onRemoval)
    : m_console(console), m_stop(stop), m_onRemoval(onRemoval) {}

CardSession::~CardSession() {
  if (m_deviceSubscription) devices::UnsubscribeDeviceChanges(m_deviceSubscription);
  m_udevWatch.reset();
  if (m_runtimeOpen) m_graph.Release();
  SignalLockedFlag() = 0;
}

bool CardSession::Open(const CommandLine& commandLine) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_SPEED_OVER_MEMORY);
  m_runtimeOpen = true;
  std::string error;
  switch (m_card.Install(commandLine, &error)) {
    case SetupResult::Ready: break;
    case SetupResult::BadOptions:
      m_console.UsageError(error);
      return false;
    case SetupResult::CardRefused:
      AfxMessageBox(error, MB_ICONERROR);
      return false;
  }
  // The removals that close the window end what runs.
  m_deviceSubscription = devices::SubscribeDeviceChanges([this](std::uint32_t code) {
    if (code != devices::DBT_DEVICEREMOVECOMPLETE && code != devices::DBT_DEVICEREMOVEPENDING) return;
    m_removed = true;
    if (m_onRemoval == OnRemoval::StopCommand) m_stop.Request(StopRequest::Reason::DeviceRemoved);
  });
  // A real adapter's removal is learnt from the system's device manager.
  if (!m_card.IsSimulated()) m_udevWatch = std::make_unique<devices::UdevRemovalWatch>();

  TunerContext& context = TheTunerContext();
  context.SetTunerFilter(FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, kTunerFriendlyName));
  if (!context.m_pTunerFilter) {
    AfxMessageBox("Not found Orvane RX40 DVBS Card!");
    return false;
  }
  return m_graph.Build(nullptr);
}
