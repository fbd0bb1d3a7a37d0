// A real DVB-S/S2 adapter as the card: chosen among the system's adapters
// (the one asked for, or the first that receives DVB-S or DVB-S2), its
// frontend opened for control, and its tuner and capture devices registered
// with the device enumerator under the card's names followed by the
// adapter's ("Orvane RX40 DVBS/S2 Tuner (adapter 0: STV090x Multistandard)",
// "Orvane RX40 BDA Digital Capture DVBS (adapter 0)"). The adapter's sysfs
// paths are registered as the card's, so that its removal (or its USB or PCI
// parent's) closes the window as the card's does.
//
// While installed the card holds the frontend open for writing; no other
// program can tune the adapter. Dropping the card unregisters its devices,
// turns the tone and the LNB voltage off and closes the frontend.
//
// Install and the destructor on the UI thread; the filters bound from the
// card run wherever the graph calls them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/devices/device_registry.h"
#include "platform/linuxdvb/adapter_discovery.h"
#include "platform/linuxdvb/backend_log.h"
#include "platform/linuxdvb/frontend.h"
#include "platform/media/capture_ring_size.h"

namespace linuxdvb {

struct CardOptions {
  std::optional<int> adapter;  // none: the first DVB-S/S2 adapter
  std::optional<int> frontendIndex;  // none: the adapter's first DVB-S/S2 frontend
  FrontendOptions frontend;
  std::size_t ringBytes = kDefaultCaptureRingBytes;  // the capture ring; 0: none
  BackendLog log;  // the backend's debug lines; none: dropped
};

class LinuxDvbCard;

struct InstallResult {
  std::shared_ptr<LinuxDvbCard> card;  // none when no adapter could be used
  // When an adapter that may be the card was found but cannot be used (held
  // by another program, no permission), the text for the operator; empty
  // when there is simply no card.
  std::string refusal;
};

class LinuxDvbCard : public std::enable_shared_from_this<LinuxDvbCard> {
 public:
  static InstallResult Install(std::shared_ptr<DvbKernel> kernel, const CardOptions& options);
  ~LinuxDvbCard();
  LinuxDvbCard(const LinuxDvbCard&) = delete;
  LinuxDvbCard& operator=(const LinuxDvbCard&) = delete;

  const AdapterProbe& Adapter() const { return m_adapter; }
  const std::shared_ptr<Frontend>& GetFrontend() const { return m_frontend; }

 private:
  LinuxDvbCard(std::shared_ptr<KernelCalls> calls, AdapterProbe adapter, std::shared_ptr<Frontend> frontend,
               std::size_t ringBytes);
  void RegisterDevices();

  const std::shared_ptr<KernelCalls> m_calls;
  const AdapterProbe m_adapter;
  const std::shared_ptr<Frontend> m_frontend;
  const std::size_t m_ringBytes;
  std::vector<devices::DeviceId> m_deviceIds;
};

// The operator's text when the adapter's frontend cannot be opened for
// control: who holds it (EBUSY), or that the user lacks the permission
// (EACCES, EPERM); other failures name the call.
std::string DescribeOpenFailure(KernelCalls& calls, const AdapterProbe& adapter, const KernelError& error);

}  // namespace linuxdvb
