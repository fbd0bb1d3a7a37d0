#include "tests/linuxdvb/fake_dvb_kernel.h"

#include <fcntl.h>
#include <linux/dvb/dmx.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/com/clock.h"
#include "platform/linuxdvb/kernel_calls.h"

namespace {

constexpr int kENOTSUPP = linuxdvb::kENOTSUPP;
constexpr std::int64_t kSearchRangeKHz = 5000;

std::string NodePath(int adapter, const char* node, int index) {
  return "/dev/dvb/adapter" + std::to_string(adapter) + "/" + node + std::to_string(index);
}

std::string Syspath(int adapter, const char* node, int index) {
  return "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(adapter + 2) + "/1-" +
         std::to_string(adapter + 2) + ":1.0/dvb/dvb" + std::to_string(adapter) + "." + node + std::to_string(index);
}

std::string Hex(const std::uint8_t* bytes, std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    char two[4];
    std::snprintf(two, sizeof two, "%02X", bytes[i]);
    text += (i ? " " : "") + std::string(two);
  }
  return text;
}

const char* VoltageText(fe_sec_voltage voltage) {
  return voltage == SEC_VOLTAGE_18 ? "18" : voltage == SEC_VOLTAGE_13 ? "13" : "off";
}

bool Contains(const std::vector<std::uint32_t>& values, std::uint32_t value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

// Whether the driver, given these properties, demodulates the carrier.
bool Demodulates(const DriverProfile& profile, std::map<std::uint32_t, std::uint32_t>& p, const FakeCarrier& carrier,
                 bool spectrumInverted) {
  const auto system = p[DTV_DELIVERY_SYSTEM];
  if (system != carrier.system && !profile.findsEitherSystem) return false;
  const auto inversion = p[DTV_INVERSION];
  if (!profile.dvbs2.ignoresParameters && inversion != INVERSION_AUTO &&
      (inversion == INVERSION_ON) != spectrumInverted)
    return false;
  // The scrambling must be the carrier's.
  const std::uint32_t gold = p[DTV_SCRAMBLING_SEQUENCE_INDEX];
  if (gold != carrier.plsGold && (carrier.plsGold != 0 || profile.pls != PlsInput::None)) return false;
  if (system == SYS_DVBS) {
    if (p[DTV_MODULATION] != QPSK && !profile.dvbs2.ignoresParameters) return false;
    const auto fec = p[DTV_INNER_FEC];
    if (carrier.system == SYS_DVBS && fec != FEC_AUTO && fec != carrier.fec) return false;
    return fec != FEC_AUTO || profile.dvbsFecAuto;
  }
  const Dvbs2Rules& rules = profile.dvbs2;
  if (rules.ignoresParameters) return true;
  const auto taken = [&](fe_modulation m) { return std::find(rules.modulations.begin(), rules.modulations.end(), m) != rules.modulations.end(); };
  const auto modulation = static_cast<fe_modulation>(p[DTV_MODULATION]);
  const auto fec = static_cast<fe_code_rate>(p[DTV_INNER_FEC]);
  const auto rolloff = p[DTV_ROLLOFF];
  const auto pilot = p[DTV_PILOT];
  if (!taken(carrier.modulation)) return false;
  if (modulation == QAM_AUTO ? !rules.modulationAuto : !taken(modulation)) return false;
  if (fec == FEC_AUTO ? !rules.fecAuto : fec != carrier.fec) return false;
  if (!rules.codeRates.empty() && modulation != QAM_AUTO &&
      std::find(rules.codeRates.begin(), rules.codeRates.end(), std::make_pair(modulation, fec)) == rules.codeRates.end())
    return false;
  const bool detects = fec == FEC_AUTO && rules.detectsModulationWithFecAuto;
  if (modulation != QAM_AUTO && modulation != carrier.modulation && !detects) return false;
  if (rolloff == ROLLOFF_AUTO ? !rules.rolloffAuto : rolloff != static_cast<std::uint32_t>(carrier.rolloff)) return false;
  if (pilot == PILOT_AUTO ? !rules.pilotAuto : pilot != static_cast<std::uint32_t>(carrier.pilot)) return false;
  return true;
}

void FillMeasure(dtv_fe_stats* stats, bool reported, bool relativeToo, std::optional<double> db, double relative) {
  *stats = {};
  if (!reported) return;
  stats->len = relativeToo ? 2 : 1;
  for (unsigned i = 0; i < stats->len; ++i) stats->stat[i].scale = FE_SCALE_NOT_AVAILABLE;
  if (!db) return;
  stats->stat[0].scale = FE_SCALE_DECIBEL;
  stats->stat[0].svalue = static_cast<std::int64_t>(std::llround(*db * 1000.0));
  if (relativeToo) {
    stats->stat[1].scale = FE_SCALE_RELATIVE;
    stats->stat[1].uvalue = static_cast<std::uint64_t>(std::clamp(relative, 0.0, 65535.0));
  }
}

void FillCounter(dtv_fe_stats* stats, bool reported, std::optional<std::uint64_t> value) {
  *stats = {};
  if (!reported) return;
  stats->len = 1;
  stats->stat[0].scale = value ? FE_SCALE_COUNTER : FE_SCALE_NOT_AVAILABLE;
  stats->stat[0].uvalue = value.value_or(0);
}

}  // namespace

dtv_fe_stats Stat(fecap_scale_params scale, std::int64_t value) {
  dtv_fe_stats stats{};
  stats.len = 1;
  stats.stat[0].scale = static_cast<std::uint8_t>(scale);
  if (scale == FE_SCALE_DECIBEL) stats.stat[0].svalue = value;
  else stats.stat[0].uvalue = static_cast<std::uint64_t>(value);
  return stats;
}

void FakeDvbKernel::AddAdapter(int number, FakeFrontend frontend, FakeDemux demux, FakeDish dish) {
  AddAdapter(number, std::vector<FakeFrontend>{std::move(frontend)}, demux, std::move(dish));
}

void FakeDvbKernel::AddAdapter(int number, std::vector<FakeFrontend> frontends, FakeDemux demux, FakeDish dish) {
  std::lock_guard lock(m_mutex);
  Adapter& a = m_adapters[number];
  a.frontends.clear();
  for (FakeFrontend& model : frontends) {
    FrontendState f;
    f.model = std::move(model);
    ClearProperties(f);
    a.frontends.push_back(std::move(f));
  }
  a.demux = demux;
  a.dish = std::move(dish);
}

void FakeDvbKernel::SetDish(int adapter, FakeDish dish) {
  std::lock_guard lock(m_mutex);
  m_adapters.at(adapter).dish = std::move(dish);
}

void FakeDvbKernel::SetHolders(const std::string& path, std::vector<linuxdvb::DeviceHolder> holders) {
  std::lock_guard lock(m_mutex);
  m_holders[path] = std::move(holders);
}

void FakeDvbKernel::InterruptNextCalls(int n) {
  std::lock_guard lock(m_mutex);
  m_interrupts = n;
}

void FakeDvbKernel::PushStream(int adapter, std::vector<std::uint8_t> bytes) {
  {
    std::lock_guard lock(m_mutex);
    m_adapters.at(adapter).stream.push_back(std::move(bytes));
  }
  m_changed.notify_all();
}

void FakeDvbKernel::PushOverflow(int adapter) { PushStream(adapter, {}); }

void FakeDvbKernel::FailReads(int adapter, int error) {
  {
    std::lock_guard lock(m_mutex);
    m_adapters.at(adapter).readError = error;
  }
  m_changed.notify_all();
}

bool FakeDvbKernel::WaitUntilRead(int adapter) {
  std::unique_lock lock(m_mutex);
  // A guard against a reader that never comes, not a pace.
  return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_adapters.at(adapter).stream.empty(); });
}

std::vector<std::string> FakeDvbKernel::Calls() const {
  std::lock_guard lock(m_mutex);
  return m_calls;
}

void FakeDvbKernel::ClearCalls() {
  std::lock_guard lock(m_mutex);
  m_calls.clear();
  for (auto& [number, adapter] : m_adapters) adapter.bus.clear();
}

std::vector<std::string> FakeDvbKernel::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : Calls())
    if (call.starts_with(prefix)) found.push_back(call);
  return found;
}

std::vector<std::string> FakeDvbKernel::Bus(int adapter) const {
  std::lock_guard lock(m_mutex);
  return m_adapters.at(adapter).bus;
}

const FakeDvbKernel::FrontendState& FakeDvbKernel::ShownLocked(int adapter) const {
  const Adapter& a = m_adapters.at(adapter);
  return a.frontends.at(static_cast<std::size_t>(a.lastTuned));
}

std::uint32_t FakeDvbKernel::Property(int adapter, std::uint32_t cmd) const {
  std::lock_guard lock(m_mutex);
  const auto& properties = ShownLocked(adapter).properties;
  const auto found = properties.find(cmd);
  return found == properties.end() ? 0 : found->second;
}

fe_sec_voltage FakeDvbKernel::Voltage(int adapter) const {
  std::lock_guard lock(m_mutex);
  return ShownLocked(adapter).voltage;
}

fe_sec_tone_mode FakeDvbKernel::Tone(int adapter) const {
  std::lock_guard lock(m_mutex);
  return ShownLocked(adapter).tone;
}

bool FakeDvbKernel::IsLocked(int adapter) const { return LockedCarrier(adapter).has_value(); }

std::optional<FakeCarrier> FakeDvbKernel::LockedCarrier(int adapter) const {
  std::lock_guard lock(m_mutex);
  return LockedLocked(m_adapters.at(adapter), ShownLocked(adapter));
}

int FakeDvbKernel::OpenCount() const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(m_open.size());
}

unsigned long FakeDvbKernel::DvrBufferSize(int adapter) const {
  std::lock_guard lock(m_mutex);
  return m_adapters.at(adapter).dvrBufferSize;
}

void FakeDvbKernel::Log(std::string line) { m_calls.push_back(std::move(line)); }

bool FakeDvbKernel::Interrupted() {
  if (m_interrupts == 0) return false;
  --m_interrupts;
  Log("EINTR");
  return true;
}

// dvb_frontend_clear_cache: the DVB-S defaults, no stream filter, no scrambling.
void FakeDvbKernel::ClearProperties(FrontendState& f) {
  f.properties.clear();
  f.properties[DTV_DELIVERY_SYSTEM] = f.model.profile.systems.empty() ? 0 : f.model.profile.systems.front();
  f.properties[DTV_MODULATION] = QPSK;
  f.properties[DTV_ROLLOFF] = ROLLOFF_35;
  f.properties[DTV_INNER_FEC] = FEC_AUTO;
  f.properties[DTV_PILOT] = PILOT_AUTO;
  f.properties[DTV_INVERSION] = INVERSION_OFF;
  f.properties[DTV_STREAM_ID] = NO_STREAM_ID_FILTER;
  f.properties[DTV_SCRAMBLING_SEQUENCE_INDEX] = 0;
}

std::vector<linuxdvb::DvbNode> FakeDvbKernel::ListNodes() {
  std::lock_guard lock(m_mutex);
  std::vector<linuxdvb::DvbNode> nodes;
  for (const auto& [number, adapter] : m_adapters) {
    const std::string bus = "usb:1-" + std::to_string(number + 2);
    for (std::size_t i = 0; i < adapter.frontends.size(); ++i) {
      const int index = static_cast<int>(i);
      nodes.push_back({number, index, linuxdvb::DvbNodeType::Frontend, NodePath(number, "frontend", index),
                       Syspath(number, "frontend", index), bus, ""});
    }
    nodes.push_back({number, 0, linuxdvb::DvbNodeType::Demux, NodePath(number, "demux", 0), Syspath(number, "demux", 0), bus, ""});
    nodes.push_back({number, 0, linuxdvb::DvbNodeType::Dvr, NodePath(number, "dvr", 0), Syspath(number, "dvr", 0), bus, ""});
  }
  return nodes;
}

std::vector<linuxdvb::DeviceHolder> FakeDvbKernel::FindHolders(const std::string& path) {
  std::lock_guard lock(m_mutex);
  const auto found = m_holders.find(path);
  return found == m_holders.end() ? std::vector<linuxdvb::DeviceHolder>{} : found->second;
}

int FakeDvbKernel::Open(const std::string& path, int flags) {
  std::lock_guard lock(m_mutex);
  if (Interrupted()) return -EINTR;
  const bool readOnly = (flags & O_ACCMODE) == O_RDONLY;
  Log(std::string("open ") + path + (readOnly ? " ro" : " rw"));
  for (auto& [number, a] : m_adapters) {
    for (std::size_t i = 0; i < a.frontends.size(); ++i) {
      if (path != NodePath(number, "frontend", static_cast<int>(i))) continue;
      FrontendState& f = a.frontends[i];
      if (f.model.openError) return -f.model.openError;
      if (!readOnly) {
        if (f.model.writeOpenError) return -f.model.writeOpenError;
        // One writer per frontend; the frontends of a hybrid adapter share
        // the tuner, so one writer per adapter (the core waits, then EBUSY).
        for (const FrontendState& other : a.frontends)
          if (other.writer) return -EBUSY;
        f.writer = true;
      }
      m_open[m_nextFd] = {Node::Frontend, number, static_cast<int>(i), readOnly};
      return m_nextFd++;
    }
    if (path == NodePath(number, "demux", 0)) {
      m_open[m_nextFd] = {Node::Demux, number, 0, readOnly};
      return m_nextFd++;
    }
    if (path == NodePath(number, "dvr", 0)) {
      if (a.demux.dvrOpenError) return -a.demux.dvrOpenError;
      m_open[m_nextFd] = {Node::Dvr, number, 0, readOnly};
      return m_nextFd++;
    }
  }
  return -ENOENT;
}

int FakeDvbKernel::Close(int fd) {
  std::lock_guard lock(m_mutex);
  const auto found = m_open.find(fd);
  if (found == m_open.end()) return -EBADF;
  const OpenFile& open = found->second;
  if (open.node == Node::Frontend && !open.readOnly) {
    FrontendState& f = m_adapters.at(open.adapter).frontends.at(static_cast<std::size_t>(open.index));
    f.writer = false;
    // The core's thread ends with the last writer and powers the LNB off.
    if (f.model.profile.setVoltage) f.voltage = SEC_VOLTAGE_OFF;
  }
  if (open.node == Node::Demux) m_adapters.at(open.adapter).filterRunning = false;
  m_open.erase(found);
  return 0;
}

int FakeDvbKernel::Ioctl(int fd, unsigned long request, std::uintptr_t argument) {
  int result;
  {
    std::lock_guard lock(m_mutex);
    if (Interrupted()) return -EINTR;
    const auto found = m_open.find(fd);
    if (found == m_open.end()) return -EBADF;
    if (found->second.node == Node::Event) return -ENOTTY;
    Adapter& a = m_adapters.at(found->second.adapter);
    switch (found->second.node) {
      case Node::Frontend:
        result = FrontendIoctl(a, a.frontends.at(static_cast<std::size_t>(found->second.index)), found->second,
                               request, argument);
        break;
      case Node::Demux:
      case Node::Dvr: result = DemuxIoctl(a, request, argument); break;
      default: result = -ENOTTY;
    }
  }
  m_changed.notify_all();
  return result;
}

std::optional<FakeCarrier> FakeDvbKernel::Received(const Adapter& a, const FrontendState& f) const {
  if (!f.tuned) return std::nullopt;
  const DriverProfile& profile = f.model.profile;
  const fe_sec_voltage voltage = profile.setVoltage ? f.voltage : a.dish.externalSupply;
  if (voltage == SEC_VOLTAGE_OFF) return std::nullopt;  // an unpowered LNB
  const char polarisation = voltage == SEC_VOLTAGE_18 ? 'H' : 'V';
  const bool high = profile.setTone && f.tone == SEC_TONE_ON;
  const std::int64_t oscillatorKHz = std::int64_t{high ? a.dish.highOscillatorMHz : a.dish.lowOscillatorMHz} * 1000;
  const auto& p = f.properties;
  const std::int64_t ifKHz = p.at(DTV_FREQUENCY);
  const std::int64_t downlinkKHz = a.dish.oscillatorAbove ? oscillatorKHz - ifKHz : oscillatorKHz + ifKHz;
  const std::uint32_t symbolRate = p.at(DTV_SYMBOL_RATE);
  if (a.dish.carriers.empty()) {
    FakeCarrier carrier;  // the signal source follows the tune
    carrier.downlinkMHz = static_cast<double>(downlinkKHz) / 1000.0;
    carrier.polarisation = polarisation;
    carrier.symbolRate = symbolRate;
    carrier.system = static_cast<fe_delivery_system>(p.at(DTV_DELIVERY_SYSTEM));
    const auto modulation = static_cast<fe_modulation>(p.at(DTV_MODULATION));
    carrier.modulation = modulation == QAM_AUTO ? PSK_8 : modulation;
    carrier.fec = static_cast<fe_code_rate>(p.at(DTV_INNER_FEC));
    carrier.rolloff = static_cast<fe_rolloff>(p.at(DTV_ROLLOFF));
    carrier.pilot = static_cast<fe_pilot>(p.at(DTV_PILOT));
    carrier.plsGold = p.at(DTV_SCRAMBLING_SEQUENCE_INDEX);
    return carrier;
  }
  for (const FakeCarrier& carrier : a.dish.carriers) {
    const std::int64_t offset = std::llabs(std::llround(carrier.downlinkMHz * 1000.0) - downlinkKHz);
    const bool rateMatches = 50.0 * std::fabs(double(symbolRate) - double(carrier.symbolRate)) <= double(carrier.symbolRate);
    if (carrier.polarisation == polarisation && offset <= kSearchRangeKHz && rateMatches) return carrier;
  }
  return std::nullopt;
}

std::optional<FakeCarrier> FakeDvbKernel::LockedLocked(const Adapter& a, const FrontendState& f) const {
  auto carrier = Received(a, f);
  if (!carrier) return std::nullopt;
  auto properties = f.properties;
  if (!Demodulates(f.model.profile, properties, *carrier, a.dish.oscillatorAbove)) return std::nullopt;
  const std::uint32_t acquisition = f.model.profile.acquisitionMs(properties[DTV_SYMBOL_RATE]);
  if (TickCountMs() - f.tunedAtMs < acquisition) return std::nullopt;
  return carrier;
}

int FakeDvbKernel::FrontendIoctl(Adapter& a, FrontendState& f, const OpenFile& open, unsigned long request,
                                 std::uintptr_t argument) {
  // The DVB core: a read-only frontend takes only pure reads.
  if (open.readOnly && _IOC_DIR(request) != _IOC_READ) {
    Log(linuxdvb::IoctlName(request) + " EPERM");
    return -EPERM;
  }
  const DriverProfile& profile = f.model.profile;
  const std::optional<FakeCarrier> locked = LockedLocked(a, f);
  // Legacy statistics: the driver's operation, run by the frontend's thread.
  const auto legacy = [&](const char* name, bool present, std::uint32_t value, std::size_t size) -> int {
    Log(name);
    if (!present) return -kENOTSUPP;
    if (!f.writer) return -EAGAIN;
    if (size == 2) *reinterpret_cast<std::uint16_t*>(argument) = static_cast<std::uint16_t>(value);
    else *reinterpret_cast<std::uint32_t*>(argument) = value;
    return 0;
  };
  const StatisticsModel& stats = profile.statistics;
  switch (request) {
    case FE_GET_INFO: {
      Log("FE_GET_INFO");
      auto* info = reinterpret_cast<dvb_frontend_info*>(argument);
      *info = {};
      const std::string& name = f.model.name.empty() ? profile.name : f.model.name;
      std::strncpy(info->name, name.c_str(), sizeof info->name - 1);
      info->type = f.model.type;
      // The core adds automatic inversion unless the tune mode is one-shot.
      info->caps = static_cast<fe_caps>(profile.caps | FE_CAN_INVERSION_AUTO);
      const std::uint32_t scale = profile.infoRangeInHz ? 1000 : 1;
      info->frequency_min = profile.frequencyMinKHz * scale;
      info->frequency_max = profile.frequencyMaxKHz * scale;
      info->symbol_rate_min = profile.symbolRateMin;
      info->symbol_rate_max = profile.symbolRateMax;
      return 0;
    }
    case FE_READ_STATUS: {
      auto* status = reinterpret_cast<fe_status_t*>(argument);
      *status = locked ? profile.lockStatus : static_cast<fe_status_t>(0);
      Log(std::string("FE_READ_STATUS ") + (locked ? "locked" : "unlocked"));
      return 0;
    }
    case FE_READ_SIGNAL_STRENGTH:
      return legacy("FE_READ_SIGNAL_STRENGTH", bool(stats.legacyStrength),
                    locked && stats.legacyStrength ? stats.legacyStrength(locked->levelDbm) : 0, 2);
    case FE_READ_SNR:
      return legacy("FE_READ_SNR", bool(stats.legacySnr), locked && stats.legacySnr ? stats.legacySnr(locked->cnrDb) : 0, 2);
    case FE_READ_BER: return legacy("FE_READ_BER", stats.legacyBer, 0, 4);
    case FE_READ_UNCORRECTED_BLOCKS: return legacy("FE_READ_UNCORRECTED_BLOCKS", stats.legacyBlocks, 0, 4);
    case FE_SET_VOLTAGE: {
      const auto voltage = static_cast<fe_sec_voltage>(argument);
      Log(std::string("FE_SET_VOLTAGE ") + VoltageText(voltage) + (profile.setVoltage ? "" : " ENOTSUPP"));
      if (!profile.setVoltage) return -kENOTSUPP;
      f.voltage = voltage;
      return 0;
    }
    case FE_SET_TONE: {
      const auto tone = static_cast<fe_sec_tone_mode>(argument);
      Log(std::string("FE_SET_TONE ") + (tone == SEC_TONE_ON ? "on" : "off") + (profile.setTone ? "" : " ENOTSUPP"));
      if (!profile.setTone) return -kENOTSUPP;
      f.tone = tone;
      return 0;
    }
    case FE_DISEQC_SEND_MASTER_CMD:
      return SendDiseqc(a, f, *reinterpret_cast<const dvb_diseqc_master_cmd*>(argument));
    case FE_DISEQC_SEND_BURST: {
      const auto burst = static_cast<fe_sec_mini_cmd>(argument);
      const char* which = burst == SEC_MINI_A ? "A" : "B";
      Log(std::string("FE_DISEQC_SEND_BURST ") + which);
      switch (profile.burst) {
        case BurstOp::Missing: return -kENOTSUPP;
        case BurstOp::DoesNothing: return 0;
        case BurstOp::CachesForNextMessage: f.cachedBurst = burst; return 0;
        case BurstOp::Sends:
          a.bus.push_back(std::string("bus burst ") + which + " at " + VoltageText(f.voltage) + " V");
          return 0;
      }
      return 0;
    }
    case FE_SET_PROPERTY: return SetProperties(a, f, *reinterpret_cast<const dtv_properties*>(argument));
    case FE_GET_PROPERTY: return GetProperties(a, f, *reinterpret_cast<dtv_properties*>(argument));
    default: return -ENOTTY;
  }
}

int FakeDvbKernel::SendDiseqc(Adapter& a, FrontendState& f, const dvb_diseqc_master_cmd& command) {
  const DriverProfile& profile = f.model.profile;
  Log("FE_DISEQC_SEND_MASTER_CMD " + Hex(command.msg, std::min<std::size_t>(command.msg_len, sizeof command.msg)));
  if (!profile.diseqc) return -kENOTSUPP;
  if (command.msg_len > sizeof command.msg) return -EINVAL;  // the core's only check
  if (command.msg_len < profile.diseqcMinLength) return -EINVAL;
  if (!profile.diseqcReachesBus) return 0;
  a.bus.push_back("bus " + Hex(command.msg, command.msg_len) + " at " + VoltageText(f.voltage) + " V tone " +
                  (f.tone == SEC_TONE_ON ? "on" : "off"));
  if (f.cachedBurst) {
    a.bus.push_back(std::string("bus burst ") + (*f.cachedBurst == SEC_MINI_A ? "A" : "B") + " at " +
                    VoltageText(f.voltage) + " V");
    f.cachedBurst.reset();
  }
  return 0;
}

int FakeDvbKernel::SetProperties(Adapter& a, FrontendState& f, const dtv_properties& list) {
  const DriverProfile& profile = f.model.profile;
  std::string line = "FE_SET_PROPERTY";
  int result = 0;
  for (std::uint32_t i = 0; i < list.num && result == 0; ++i) {
    const dtv_property& p = list.props[i];
    line += " " + std::to_string(p.cmd) + "=" + std::to_string(p.u.data);
    if (p.cmd == DTV_CLEAR) {
      ClearProperties(f);
    } else if (p.cmd == DTV_DELIVERY_SYSTEM && !Contains(profile.systems, p.u.data)) {
      result = -EINVAL;  // dvbv5_set_delivery_system
    } else if (p.cmd == DTV_TUNE) {
      // dvb_frontend_check_parameters; the driver sees the rest later.
      const std::uint32_t frequency = f.properties[DTV_FREQUENCY];
      const std::uint32_t rate = f.properties[DTV_SYMBOL_RATE];
      if (frequency < profile.frequencyMinKHz || frequency > profile.frequencyMaxKHz ||
          rate < profile.symbolRateMin || rate > profile.symbolRateMax) {
        result = -EINVAL;
      } else {
        f.tuned = true;
        f.tunedAtMs = TickCountMs();
        a.lastTuned = static_cast<int>(&f - a.frontends.data());
      }
    } else {
      f.properties[p.cmd] = p.u.data;
    }
  }
  Log(line + (result ? " EINVAL" : ""));
  return result;
}

int FakeDvbKernel::GetProperties(Adapter& a, FrontendState& f, dtv_properties& list) {
  const DriverProfile& profile = f.model.profile;
  const StatisticsModel& stats = profile.statistics;
  const std::optional<FakeCarrier> locked = LockedLocked(a, f);
  std::string line = "FE_GET_PROPERTY";
  for (std::uint32_t i = 0; i < list.num; ++i) {
    dtv_property& p = list.props[i];
    line += " " + std::to_string(p.cmd);
    switch (p.cmd) {
      case DTV_ENUM_DELSYS:
        if (!f.model.enumDelsys) {
          Log(line + " EINVAL");
          return -EINVAL;
        }
        p.u.buffer.len = static_cast<std::uint32_t>(profile.systems.size());
        for (std::size_t s = 0; s < profile.systems.size(); ++s)
          p.u.buffer.data[s] = static_cast<std::uint8_t>(profile.systems[s]);
        break;
      case DTV_STAT_SIGNAL_STRENGTH:
        FillMeasure(&p.u.st, stats.v5Strength, stats.v5RelativeToo,
                    locked ? std::optional<double>(locked->levelDbm) : std::nullopt,
                    locked ? (100.0 + locked->levelDbm) * 656.0 : 0.0);
        break;
      case DTV_STAT_CNR:
        FillMeasure(&p.u.st, stats.v5Cnr, stats.v5RelativeToo, locked ? std::optional<double>(locked->cnrDb) : std::nullopt,
                    locked ? locked->cnrDb * 10.0 * 328.0 : 0.0);
        break;
      case DTV_STAT_POST_ERROR_BIT_COUNT:
        FillCounter(&p.u.st, stats.v5BitCounters, locked ? std::optional<std::uint64_t>(0) : std::nullopt);
        break;
      case DTV_STAT_POST_TOTAL_BIT_COUNT:
        FillCounter(&p.u.st, stats.v5BitCounters,
                    locked ? std::optional<std::uint64_t>((TickCountMs() - f.tunedAtMs) * locked->symbolRate / 1000)
                           : std::nullopt);
        break;
      case DTV_STAT_ERROR_BLOCK_COUNT:
      case DTV_STAT_TOTAL_BLOCK_COUNT:
      case DTV_STAT_PRE_ERROR_BIT_COUNT:
      case DTV_STAT_PRE_TOTAL_BIT_COUNT: p.u.st = {}; break;
      default: {
        p.u.data = f.properties[p.cmd];
        // get_frontend: what the demodulator found, where the driver reads it.
        if (locked && profile.reportsTuned) {
          switch (p.cmd) {
            case DTV_DELIVERY_SYSTEM: p.u.data = locked->system; break;
            case DTV_MODULATION: p.u.data = locked->modulation; break;
            case DTV_INNER_FEC: p.u.data = locked->fec; break;
            case DTV_ROLLOFF: p.u.data = locked->system == SYS_DVBS2 ? locked->rolloff : ROLLOFF_35; break;
            case DTV_PILOT: p.u.data = locked->pilot; break;
            case DTV_SYMBOL_RATE: p.u.data = locked->symbolRate; break;
            default: break;
          }
        }
        if (!locked && f.tuned && profile.zeroWhileUnlocked && (p.cmd == DTV_FREQUENCY || p.cmd == DTV_SYMBOL_RATE))
          p.u.data = 0;
      }
    }
  }
  Log(line);
  return 0;
}

int FakeDvbKernel::DemuxIoctl(Adapter& a, unsigned long request, std::uintptr_t argument) {
  switch (request) {
    case DMX_SET_BUFFER_SIZE:
      a.dvrBufferSize = argument;
      Log("DMX_SET_BUFFER_SIZE " + std::to_string(argument));
      return 0;
    case DMX_SET_PES_FILTER: {
      const auto* filter = reinterpret_cast<const dmx_pes_filter_params*>(argument);
      const bool ts = filter->output == DMX_OUT_TS_TAP && filter->input == DMX_IN_FRONTEND;
      Log("DMX_SET_PES_FILTER pid=" + std::to_string(filter->pid) + (ts ? " TS_TAP" : " other") +
          ((filter->flags & DMX_IMMEDIATE_START) ? " start" : ""));
      if (filter->pid == 0x2000 && a.demux.refusesWholeStream) return -EINVAL;
      a.filterRunning = (filter->flags & DMX_IMMEDIATE_START) != 0;
      return 0;
    }
    case DMX_STOP:
      Log("DMX_STOP");
      a.filterRunning = false;
      return 0;
    default: return -ENOTTY;
  }
}

long FakeDvbKernel::Read(int fd, void* buffer, std::size_t size) {
  const long result = ReadData(fd, buffer, size);
  m_changed.notify_all();
  return result;
}

long FakeDvbKernel::ReadData(int fd, void* buffer, std::size_t size) {
  std::lock_guard lock(m_mutex);
  if (Interrupted()) return -EINTR;
  const auto found = m_open.find(fd);
  if (found == m_open.end()) return -EBADF;
  OpenFile& open = found->second;
  if (open.node == Node::Event) {
    if (open.events == 0) return -EAGAIN;
    std::memcpy(buffer, &open.events, std::min(size, sizeof open.events));
    open.events = 0;
    return 8;
  }
  Adapter& a = m_adapters.at(open.adapter);
  if (a.readError) return -a.readError;
  if (a.stream.empty()) return -EAGAIN;
  std::vector<std::uint8_t>& next = a.stream.front();
  if (next.empty()) {  // an overflow: the kernel drops its buffer and says so once
    a.stream.pop_front();
    Log("read EOVERFLOW");
    return -EOVERFLOW;
  }
  const std::size_t count = std::min(size, next.size());
  std::memcpy(buffer, next.data(), count);
  next.erase(next.begin(), next.begin() + static_cast<std::ptrdiff_t>(count));
  if (next.empty()) a.stream.pop_front();
  return static_cast<long>(count);
}

long FakeDvbKernel::Write(int fd, const void* buffer, std::size_t size) {
  {
    std::lock_guard lock(m_mutex);
    const auto found = m_open.find(fd);
    if (found == m_open.end() || found->second.node != Node::Event || size != 8) return -EINVAL;
    std::uint64_t value;
    std::memcpy(&value, buffer, sizeof value);
    found->second.events += value;
  }
  m_changed.notify_all();
  return 8;
}

short FakeDvbKernel::ReadyLocked(const pollfd& fd) const {
  const auto found = m_open.find(fd.fd);
  if (found == m_open.end()) return POLLNVAL;
  const OpenFile& open = found->second;
  if (open.node == Node::Event) return open.events ? POLLIN : 0;
  if (open.node != Node::Dvr) return 0;
  const Adapter& a = m_adapters.at(open.adapter);
  if (a.readError) return POLLERR;
  if (a.stream.empty()) return 0;
  return a.stream.front().empty() ? static_cast<short>(POLLIN | POLLERR) : static_cast<short>(POLLIN);
}

int FakeDvbKernel::Poll(pollfd* fds, std::size_t count, int timeoutMs) {
  std::unique_lock lock(m_mutex);
  const auto ready = [&] {
    int n = 0;
    for (std::size_t i = 0; i < count; ++i) {
      fds[i].revents = static_cast<short>(ReadyLocked(fds[i]) & (fds[i].events | POLLERR | POLLHUP | POLLNVAL));
      if (fds[i].revents) ++n;
    }
    return n;
  };
  int n = ready();
  if (n == 0 && timeoutMs != 0) {
    // Woken by pushed data, an event or any call; a finite timeout is a test's guard, not a pace.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 60000 : timeoutMs);
    m_changed.wait_until(lock, until, [&] { return (n = ready()) > 0; });
  }
  return n;
}

int FakeDvbKernel::EventFd() {
  std::lock_guard lock(m_mutex);
  m_open[m_nextFd] = {Node::Event, -1, 0, false};
  return m_nextFd++;
}
