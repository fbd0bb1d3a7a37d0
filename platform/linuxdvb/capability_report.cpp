#include "platform/linuxdvb/capability_report.h"

#include <fcntl.h>
#include <linux/dvb/frontend.h>

#include <array>
#include <cstdio>
#include <utility>

namespace linuxdvb {
namespace {

constexpr std::array<std::pair<std::uint32_t, const char*>, 27> kCapabilityNames{{
    {FE_CAN_INVERSION_AUTO, "inversion auto"}, {FE_CAN_FEC_1_2, "FEC 1/2"},   {FE_CAN_FEC_2_3, "FEC 2/3"},
    {FE_CAN_FEC_3_4, "FEC 3/4"},               {FE_CAN_FEC_4_5, "FEC 4/5"},   {FE_CAN_FEC_5_6, "FEC 5/6"},
    {FE_CAN_FEC_6_7, "FEC 6/7"},               {FE_CAN_FEC_7_8, "FEC 7/8"},   {FE_CAN_FEC_8_9, "FEC 8/9"},
    {FE_CAN_FEC_AUTO, "FEC auto"},             {FE_CAN_QPSK, "QPSK"},         {FE_CAN_QAM_16, "16QAM"},
    {FE_CAN_QAM_32, "32QAM"},                  {FE_CAN_QAM_64, "64QAM"},      {FE_CAN_QAM_128, "128QAM"},
    {FE_CAN_QAM_256, "256QAM"},                {FE_CAN_QAM_AUTO, "modulation auto"},
    {FE_CAN_TRANSMISSION_MODE_AUTO, "transmission mode auto"}, {FE_CAN_BANDWIDTH_AUTO, "bandwidth auto"},
    {FE_CAN_GUARD_INTERVAL_AUTO, "guard interval auto"},       {FE_CAN_HIERARCHY_AUTO, "hierarchy auto"},
    {FE_CAN_8VSB, "8VSB"},                     {FE_CAN_16VSB, "16VSB"},       {FE_CAN_MULTISTREAM, "multistream"},
    {FE_CAN_2G_MODULATION, "second-generation modulations"},  {FE_CAN_RECOVER, "recovers the lock"},
    {FE_CAN_MUTE_TS, "mutes the stream"},
}};

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string Range(std::uint32_t low, std::uint32_t high, double divisor, const char* unit) {
  char text[64];
  std::snprintf(text, sizeof text, "%g to %g %s", low / divisor, high / divisor, unit);
  return text;
}

std::string StatisticsText(const StatisticsSupport& s) {
  return "strength " + s.strength + ", C/N " + s.cnr + ", bit errors " + s.bitErrors + ", uncorrected blocks " +
         s.blockErrors;
}

}  // namespace

std::string DescribeCapabilityBits(std::uint32_t caps) {
  std::string text;
  for (const auto& [bit, name] : kCapabilityNames)
    if (caps & bit) text += (text.empty() ? "" : ", ") + std::string(name);
  return (text.empty() ? "none" : text) + " (" + Hex(caps) + ")";
}

StatisticsSupport ProbeStatisticsOn(KernelCalls& calls, int fd) {
  const auto scaleOf = [](const dtv_fe_stats& stats) -> std::string {
    if (stats.len == 0) return "none";
    switch (stats.stat[0].scale) {
      case FE_SCALE_DECIBEL: return "dB";
      case FE_SCALE_RELATIVE: return "relative";
      case FE_SCALE_COUNTER: return "counter";
      default: return "after lock";  // filled in, not available yet
    }
  };
  StatisticsSupport support{"none", "none", "none", "none"};
  std::array<dtv_property, 4> stats{};
  const std::uint32_t commands[] = {DTV_STAT_SIGNAL_STRENGTH, DTV_STAT_CNR, DTV_STAT_POST_ERROR_BIT_COUNT,
                                    DTV_STAT_ERROR_BLOCK_COUNT};
  for (std::size_t i = 0; i < stats.size(); ++i) stats[i].cmd = commands[i];
  dtv_properties list{static_cast<std::uint32_t>(stats.size()), stats.data()};
  if (calls.Ioctl(fd, FE_GET_PROPERTY, &list).Ok())
    support = {scaleOf(stats[0].u.st), scaleOf(stats[1].u.st), scaleOf(stats[2].u.st), scaleOf(stats[3].u.st)};
  const auto legacy = [&](std::string& field, unsigned long request) {
    if (field != "none") return;
    std::uint32_t value = 0;
    const CallResult r = calls.Ioctl(fd, request, &value);
    if (r.Ok() || !IsNotSupported(r.Errno())) field = "legacy";
  };
  legacy(support.strength, FE_READ_SIGNAL_STRENGTH);
  legacy(support.cnr, FE_READ_SNR);
  legacy(support.bitErrors, FE_READ_BER);
  legacy(support.blockErrors, FE_READ_UNCORRECTED_BLOCKS);
  return support;
}

std::vector<CapabilityReport> ReportFrontends(KernelCalls& calls, Frontend* inUse) {
  std::vector<CapabilityReport> reports;
  for (const AdapterProbe& probe : ProbeAdapters(calls)) {
    CapabilityReport report;
    report.title = probe.Label();
    report.facts.emplace_back("device", probe.frontend.path);
    if (!probe.info) {
      report.facts.emplace_back("error", probe.failure ? probe.failure->Describe() : "cannot be read");
      reports.push_back(std::move(report));
      continue;
    }
    const FrontendInfo& info = *probe.info;
    report.inUse = inUse && inUse->Label() == probe.Label();
    report.facts.emplace_back("delivery systems", DescribeSystems(info.systems));
    // The core gives the range in kHz while the frontend's current delivery
    // system is a satellite one, in Hz otherwise (a multi-standard frontend
    // just opened is on its first, often terrestrial): no satellite range
    // reaches 100 GHz in kHz, no terrestrial one stays below 100 MHz in Hz.
    const bool hertz = info.frequencyMaxKHz >= 100'000'000;
    report.facts.emplace_back("frequency", Range(info.frequencyMinKHz, info.frequencyMaxKHz, hertz ? 1e6 : 1e3, "MHz"));
    if (info.symbolRateMax) report.facts.emplace_back("symbol rate", Range(info.symbolRateMin, info.symbolRateMax, 1e6, "Msym/s"));
    report.facts.emplace_back("capabilities", DescribeCapabilityBits(info.caps));
    if (info.IsSatellite()) {
      report.facts.emplace_back("input streams", (info.caps & FE_CAN_MULTISTREAM) ? "selectable (ISI 0 to 255, PLS)"
                                                                                 : "not selectable");
    }
    StatisticsSupport statistics;
    if (report.inUse) {
      statistics = inUse->ProbeStatistics();
      report.facts.emplace_back("statistics", StatisticsText(statistics));
      report.facts.emplace_back("LNB voltage", inUse->ControlsLnbVoltage() ? "under the program's control"
                                                                          : "not under the program's control (ENOTSUPP)");
    } else if (const CallResult opened = calls.Open(probe.frontend.path, O_RDONLY | O_NONBLOCK); opened.Ok()) {
      DeviceFd fd(&calls, static_cast<int>(opened.Value()));
      report.facts.emplace_back("statistics", StatisticsText(ProbeStatisticsOn(calls, fd.Get())));
    }
    reports.push_back(std::move(report));
  }
  return reports;
}

}  // namespace linuxdvb
