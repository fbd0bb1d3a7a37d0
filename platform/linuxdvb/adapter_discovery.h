// Which DVB adapters the system has, and which one is the card: an adapter
// frontend that receives DVB-S or DVB-S2. A hybrid adapter has several
// frontends (a DVB-T one first, its satellite one second, say); each is a
// candidate of its own, with the adapter's demultiplexer and DVR device. Each frontend is opened read-only
// (which works also while another program tunes it) and asked for its name,
// capabilities and delivery systems (FE_GET_INFO, DTV_ENUM_DELSYS; on a
// kernel without the latter, the frontend type and the second-generation
// capability stand in).
//
// UI thread, at start-up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/linuxdvb/kernel_calls.h"

namespace linuxdvb {

struct FrontendInfo {
  std::string name;                // FE_GET_INFO's name
  std::uint32_t caps = 0;          // FE_CAN_* flags; hints only
  // kHz while the frontend's current delivery system is a satellite one, Hz
  // otherwise (the core converts by the current system).
  std::uint32_t frequencyMinKHz = 0;
  std::uint32_t frequencyMaxKHz = 0;
  std::uint32_t symbolRateMin = 0;     // symbols per second
  std::uint32_t symbolRateMax = 0;
  std::vector<std::uint32_t> systems;  // fe_delivery_system values

  bool Has(std::uint32_t system) const;
  bool IsSatellite() const;  // DVB-S or DVB-S2
};

// One frontend of an adapter and the nodes that go with it.
struct AdapterProbe {
  int adapter = 0;
  int frontendIndex = 0;
  DvbNode frontend;
  std::optional<DvbNode> demux;
  std::optional<DvbNode> dvr;
  std::optional<FrontendInfo> info;         // none when it could not be read
  std::optional<KernelError> failure;       // why not

  // "adapter 0 (STV090x Multistandard)", or "adapter 0" without a name;
  // "adapter 0 frontend 1 (...)" for a frontend other than the first.
  std::string Label() const;
  // Every sysfs path of the adapter's nodes.
  std::vector<std::string> Syspaths() const;
};

// Every frontend of every adapter, in adapter and frontend order.
std::vector<AdapterProbe> ProbeAdapters(KernelCalls& calls);

// "DVB-S, DVB-S2" for a list of delivery systems.
std::string DescribeSystems(const std::vector<std::uint32_t>& systems);

// The card among the probes: the adapter (and frontend) asked for, or the
// first frontend that receives DVB-S or DVB-S2.
struct AdapterChoice {
  std::optional<AdapterProbe> card;      // found and readable
  std::optional<AdapterProbe> unusable;  // a candidate that could not be read (permissions)
  std::vector<std::string> notes;        // one line per adapter passed over, and why
};
AdapterChoice ChooseAdapter(const std::vector<AdapterProbe>& probes, std::optional<int> wanted,
                            std::optional<int> wantedFrontend = std::nullopt);

}  // namespace linuxdvb
