#include "platform/linuxdvb/adapter_discovery.h"

#include <fcntl.h>
#include <linux/dvb/frontend.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace linuxdvb {
namespace {

const char* SystemName(std::uint32_t system) {
  switch (system) {
    case SYS_DVBS: return "DVB-S";
    case SYS_DVBS2: return "DVB-S2";
    case SYS_DVBT: return "DVB-T";
    case SYS_DVBT2: return "DVB-T2";
    case SYS_DVBC_ANNEX_A: return "DVB-C";
    case SYS_DVBC_ANNEX_B: return "DVB-C/B";
    case SYS_DVBC_ANNEX_C: return "DVB-C/C";
    case SYS_ATSC: return "ATSC";
    case SYS_ISDBT: return "ISDB-T";
    case SYS_ISDBS: return "ISDB-S";
    case SYS_DSS: return "DSS";
    case SYS_TURBO: return "Turbo";
    case SYS_DTMB: return "DTMB";
    default: return "other";
  }
}

// Kernels before DVB API 5.5 lack DTV_ENUM_DELSYS: the deprecated frontend
// type and the second-generation flag say as much as they can.
std::vector<std::uint32_t> SystemsFromType(const dvb_frontend_info& info) {
  switch (info.type) {
    case FE_QPSK:
      if (info.caps & FE_CAN_2G_MODULATION) return {SYS_DVBS, SYS_DVBS2};
      return {SYS_DVBS};
    case FE_OFDM: return {SYS_DVBT};
    case FE_QAM: return {SYS_DVBC_ANNEX_A};
    case FE_ATSC: return {SYS_ATSC};
  }
  return {};
}

void ReadInfo(KernelCalls& calls, AdapterProbe* probe) {
  const CallResult opened = calls.Open(probe->frontend.path, O_RDONLY | O_NONBLOCK);
  if (!opened.Ok()) {
    probe->failure = opened.Error();
    return;
  }
  DeviceFd fd(&calls, static_cast<int>(opened.Value()));
  dvb_frontend_info raw{};
  if (const CallResult got = calls.Ioctl(fd.Get(), FE_GET_INFO, &raw); !got.Ok()) {
    probe->failure = got.Error();
    return;
  }
  FrontendInfo info;
  info.name.assign(raw.name, strnlen(raw.name, sizeof raw.name));
  info.caps = raw.caps;
  info.frequencyMinKHz = raw.frequency_min;
  info.frequencyMaxKHz = raw.frequency_max;
  info.symbolRateMin = raw.symbol_rate_min;
  info.symbolRateMax = raw.symbol_rate_max;
  dtv_property property{};
  property.cmd = DTV_ENUM_DELSYS;
  dtv_properties list{1, &property};
  if (calls.Ioctl(fd.Get(), FE_GET_PROPERTY, &list).Ok()) {
    const auto count = std::min<std::uint32_t>(property.u.buffer.len, sizeof property.u.buffer.data);
    for (std::uint32_t i = 0; i < count; ++i) info.systems.push_back(property.u.buffer.data[i]);
  } else {
    info.systems = SystemsFromType(raw);
  }
  probe->info = std::move(info);
}

}  // namespace

bool FrontendInfo::Has(std::uint32_t system) const {
  return std::find(systems.begin(), systems.end(), system) != systems.end();
}

bool FrontendInfo::IsSatellite() const { return Has(SYS_DVBS) || Has(SYS_DVBS2); }

std::string AdapterProbe::Label() const {
  std::string label = "adapter " + std::to_string(adapter);
  if (frontendIndex != 0) label += " frontend " + std::to_string(frontendIndex);
  if (info && !info->name.empty()) label += " (" + info->name + ")";
  return label;
}

std::vector<std::string> AdapterProbe::Syspaths() const {
  std::vector<std::string> paths;
  for (const DvbNode* node : {&frontend, demux ? &*demux : nullptr, dvr ? &*dvr : nullptr})
    if (node && !node->syspath.empty()) paths.push_back(node->syspath);
  return paths;
}

std::string DescribeSystems(const std::vector<std::uint32_t>& systems) {
  std::string text;
  for (const std::uint32_t system : systems) text += (text.empty() ? "" : ", ") + std::string(SystemName(system));
  return text.empty() ? "no delivery system" : text;
}

std::vector<AdapterProbe> ProbeAdapters(KernelCalls& calls) {
  // Each frontend with the demultiplexer and DVR of its own number, or else
  // of the adapter's lowest number: the nodes one receiver uses together.
  std::map<std::pair<int, int>, AdapterProbe> frontends;
  const std::vector<DvbNode> nodes = calls.Kernel().ListNodes();
  for (const DvbNode& node : nodes) {
    if (node.type != DvbNodeType::Frontend) continue;
    AdapterProbe& probe = frontends[{node.adapter, node.index}];
    probe.adapter = node.adapter;
    probe.frontendIndex = node.index;
    probe.frontend = node;
  }
  const auto pick = [&](std::optional<DvbNode>& slot, const DvbNode& node, int frontendIndex) {
    if (!slot || node.index == frontendIndex || (slot->index != frontendIndex && node.index < slot->index)) slot = node;
  };
  for (auto& [key, probe] : frontends) {
    for (const DvbNode& node : nodes) {
      if (node.adapter != probe.adapter) continue;
      if (node.type == DvbNodeType::Demux) pick(probe.demux, node, probe.frontendIndex);
      if (node.type == DvbNodeType::Dvr) pick(probe.dvr, node, probe.frontendIndex);
    }
  }
  std::vector<AdapterProbe> probes;
  for (auto& [key, probe] : frontends) {
    ReadInfo(calls, &probe);
    probes.push_back(std::move(probe));
  }
  return probes;
}

AdapterChoice ChooseAdapter(const std::vector<AdapterProbe>& probes, std::optional<int> wanted,
                            std::optional<int> wantedFrontend) {
  AdapterChoice choice;
  bool wantedSeen = false;
  for (const AdapterProbe& probe : probes) {
    if (wanted && probe.adapter != *wanted) continue;
    if (wantedFrontend && probe.frontendIndex != *wantedFrontend) continue;
    wantedSeen = true;
    if (!probe.info) {
      // It may be the card: only its permissions can tell, so keep it.
      if (!choice.unusable) choice.unusable = probe;
      choice.notes.push_back(probe.Label() + ": " + probe.failure->Describe());
      continue;
    }
    if (!probe.info->IsSatellite()) {
      choice.notes.push_back(probe.Label() + ": receives " + DescribeSystems(probe.info->systems) +
                             ", not DVB-S or DVB-S2");
      continue;
    }
    if (!probe.demux || !probe.dvr) {
      choice.notes.push_back(probe.Label() + ": has no demultiplexer or DVR device");
      continue;
    }
    choice.card = probe;
    return choice;
  }
  if (wanted && !wantedSeen) {
    std::string what = "adapter " + std::to_string(*wanted);
    if (wantedFrontend) what += " frontend " + std::to_string(*wantedFrontend);
    choice.notes.push_back(what + ": no such DVB " + (wantedFrontend ? "frontend" : "adapter"));
  }
  return choice;
}

}  // namespace linuxdvb
