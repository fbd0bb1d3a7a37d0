#include "tests/linuxdvb/fake_dvb_kernel.h"

#include <fcntl.h>
#include <linux/dvb/dmx.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/linuxdvb/kernel_calls.h"

namespace {

std::string Path(int adapter, const char* node) {
  return "/dev/dvb/adapter" + std::to_string(adapter) + "/" + node + "0";
}

std::string Syspath(int adapter, const char* node) {
  return "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-" + std::to_string(adapter + 2) + "/1-" +
         std::to_string(adapter + 2) + ":1.0/dvb/dvb" + std::to_string(adapter) + "." + node + "0";
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

}  // namespace

dtv_fe_stats Stat(fecap_scale_params scale, std::int64_t value) {
  dtv_fe_stats stats{};
  stats.len = 1;
  stats.stat[0].scale = static_cast<std::uint8_t>(scale);
  if (scale == FE_SCALE_DECIBEL) stats.stat[0].svalue = value;
  else stats.stat[0].uvalue = static_cast<std::uint64_t>(value);
  return stats;
}

void FakeDvbKernel::AddAdapter(int number, FakeFrontend frontend, FakeDemux demux) {
  std::lock_guard lock(m_mutex);
  Adapter& a = m_adapters[number];
  a.frontend = std::move(frontend);
  a.demux = demux;
  ClearProperties(a);
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
}

std::vector<std::string> FakeDvbKernel::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : Calls())
    if (call.starts_with(prefix)) found.push_back(call);
  return found;
}

std::uint32_t FakeDvbKernel::Property(int adapter, std::uint32_t cmd) const {
  std::lock_guard lock(m_mutex);
  const auto& properties = m_adapters.at(adapter).properties;
  const auto found = properties.find(cmd);
  return found == properties.end() ? 0 : found->second;
}

fe_sec_voltage FakeDvbKernel::Voltage(int adapter) const {
  std::lock_guard lock(m_mutex);
  return m_adapters.at(adapter).voltage;
}

fe_sec_tone_mode FakeDvbKernel::Tone(int adapter) const {
  std::lock_guard lock(m_mutex);
  return m_adapters.at(adapter).tone;
}

bool FakeDvbKernel::IsLocked(int adapter) const {
  std::lock_guard lock(m_mutex);
  const Adapter& a = m_adapters.at(adapter);
  return a.tuned && a.frontend.locksWith.count(a.tunedSystem);
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

void FakeDvbKernel::ClearProperties(Adapter& a) {
  a.properties.clear();
  a.properties[DTV_STREAM_ID] = NO_STREAM_ID_FILTER;
}

std::vector<linuxdvb::DvbNode> FakeDvbKernel::ListNodes() {
  std::lock_guard lock(m_mutex);
  std::vector<linuxdvb::DvbNode> nodes;
  for (const auto& [number, adapter] : m_adapters) {
    const std::string bus = "usb:1-" + std::to_string(number + 2);
    nodes.push_back({number, 0, linuxdvb::DvbNodeType::Frontend, Path(number, "frontend"), Syspath(number, "frontend"), bus, ""});
    nodes.push_back({number, 0, linuxdvb::DvbNodeType::Demux, Path(number, "demux"), Syspath(number, "demux"), bus, ""});
    nodes.push_back({number, 0, linuxdvb::DvbNodeType::Dvr, Path(number, "dvr"), Syspath(number, "dvr"), bus, ""});
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
    if (path == Path(number, "frontend")) {
      if (a.frontend.openError) return -a.frontend.openError;
      if (!readOnly && (a.frontend.writeOpenError || a.frontendWriter))
        return -(a.frontend.writeOpenError ? a.frontend.writeOpenError : EBUSY);
      if (!readOnly) a.frontendWriter = true;
      m_open[m_nextFd] = {Node::Frontend, number, readOnly};
      return m_nextFd++;
    }
    if (path == Path(number, "demux")) {
      m_open[m_nextFd] = {Node::Demux, number, readOnly};
      return m_nextFd++;
    }
    if (path == Path(number, "dvr")) {
      if (a.demux.dvrOpenError) return -a.demux.dvrOpenError;
      m_open[m_nextFd] = {Node::Dvr, number, readOnly};
      return m_nextFd++;
    }
  }
  return -ENOENT;
}

int FakeDvbKernel::Close(int fd) {
  std::lock_guard lock(m_mutex);
  const auto found = m_open.find(fd);
  if (found == m_open.end()) return -EBADF;
  if (found->second.node == Node::Frontend && !found->second.readOnly)
    m_adapters.at(found->second.adapter).frontendWriter = false;
  if (found->second.node == Node::Demux) m_adapters.at(found->second.adapter).filterRunning = false;
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
      case Node::Frontend: result = FrontendIoctl(a, found->second, request, argument); break;
      case Node::Demux:
      case Node::Dvr: result = DemuxIoctl(a, request, argument); break;
      default: result = -ENOTTY;
    }
  }
  m_changed.notify_all();
  return result;
}

int FakeDvbKernel::FrontendIoctl(Adapter& a, const OpenFile& open, unsigned long request, std::uintptr_t argument) {
  // The DVB core: a read-only frontend takes only pure reads.
  if (open.readOnly && _IOC_DIR(request) != _IOC_READ) {
    Log(linuxdvb::IoctlName(request) + " EPERM");
    return -EPERM;
  }
  FakeFrontend& f = a.frontend;
  switch (request) {
    case FE_GET_INFO: {
      Log("FE_GET_INFO");
      auto* info = reinterpret_cast<dvb_frontend_info*>(argument);
      *info = {};
      std::strncpy(info->name, f.name.c_str(), sizeof info->name - 1);
      info->type = f.type;
      info->caps = static_cast<fe_caps>(f.caps);
      info->frequency_min = 950000;
      info->frequency_max = 2150000;
      return 0;
    }
    case FE_READ_STATUS: {
      auto* status = reinterpret_cast<fe_status_t*>(argument);
      const bool locked = a.tuned && f.locksWith.count(a.tunedSystem);
      *status = locked ? static_cast<fe_status_t>(FE_HAS_SIGNAL | FE_HAS_CARRIER | FE_HAS_VITERBI | FE_HAS_SYNC | FE_HAS_LOCK)
                       : static_cast<fe_status_t>(0);
      Log(std::string("FE_READ_STATUS ") + (locked ? "locked" : "unlocked"));
      return 0;
    }
    case FE_READ_SIGNAL_STRENGTH:
      Log("FE_READ_SIGNAL_STRENGTH");
      if (!f.legacyStrength) return -EOPNOTSUPP;
      *reinterpret_cast<std::uint16_t*>(argument) = *f.legacyStrength;
      return 0;
    case FE_READ_SNR:
      Log("FE_READ_SNR");
      if (!f.legacySnr) return -EOPNOTSUPP;
      *reinterpret_cast<std::uint16_t*>(argument) = *f.legacySnr;
      return 0;
    case FE_SET_VOLTAGE:
      a.voltage = static_cast<fe_sec_voltage>(argument);
      Log(std::string("FE_SET_VOLTAGE ") + (a.voltage == SEC_VOLTAGE_18 ? "18" : a.voltage == SEC_VOLTAGE_13 ? "13" : "off"));
      return 0;
    case FE_SET_TONE:
      a.tone = static_cast<fe_sec_tone_mode>(argument);
      Log(std::string("FE_SET_TONE ") + (a.tone == SEC_TONE_ON ? "on" : "off"));
      return 0;
    case FE_DISEQC_SEND_MASTER_CMD: {
      const auto* command = reinterpret_cast<const dvb_diseqc_master_cmd*>(argument);
      if (command->msg_len > sizeof command->msg) return -EINVAL;
      Log("FE_DISEQC_SEND_MASTER_CMD " + Hex(command->msg, command->msg_len));
      return 0;
    }
    case FE_SET_PROPERTY: {
      const auto* list = reinterpret_cast<const dtv_properties*>(argument);
      std::string line = "FE_SET_PROPERTY";
      int result = 0;
      for (std::uint32_t i = 0; i < list->num && result == 0; ++i) {
        const dtv_property& p = list->props[i];
        line += " " + std::to_string(p.cmd) + "=" + std::to_string(p.u.data);
        if (p.cmd == DTV_CLEAR) {
          ClearProperties(a);
        } else if (p.cmd == DTV_TUNE) {
          const std::uint32_t system = a.properties[DTV_DELIVERY_SYSTEM];
          if (std::find(f.systems.begin(), f.systems.end(), system) == f.systems.end() ||
              (system == SYS_DVBS2 && f.refusesDvbs2)) {
            result = -EINVAL;
          } else {
            a.tuned = true;
            a.tunedSystem = system;
          }
        } else if (p.cmd != DTV_STREAM_ID || f.keepsStreamId) {
          a.properties[p.cmd] = p.u.data;
        }
      }
      Log(line + (result ? " EINVAL" : ""));
      return result;
    }
    case FE_GET_PROPERTY: {
      auto* list = reinterpret_cast<dtv_properties*>(argument);
      std::string line = "FE_GET_PROPERTY";
      for (std::uint32_t i = 0; i < list->num; ++i) {
        dtv_property& p = list->props[i];
        line += " " + std::to_string(p.cmd);
        switch (p.cmd) {
          case DTV_ENUM_DELSYS:
            if (!f.enumDelsys) {
              Log(line + " EINVAL");
              return -EINVAL;
            }
            p.u.buffer.len = static_cast<std::uint32_t>(f.systems.size());
            for (std::size_t s = 0; s < f.systems.size(); ++s) p.u.buffer.data[s] = static_cast<std::uint8_t>(f.systems[s]);
            break;
          case DTV_STAT_SIGNAL_STRENGTH:
          case DTV_STAT_CNR:
            if (f.statsFail) {
              Log(line + " EINVAL");
              return -EINVAL;
            }
            p.u.st = p.cmd == DTV_STAT_CNR ? f.cnr : f.strength;
            break;
          default: {
            const auto reported = f.reported.find(p.cmd);
            const bool locked = a.tuned && f.locksWith.count(a.tunedSystem);
            p.u.data = locked && reported != f.reported.end() ? reported->second : a.properties[p.cmd];
          }
        }
      }
      Log(line);
      return 0;
    }
    default: return -ENOTTY;
  }
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
  m_open[m_nextFd] = {Node::Event, -1, false};
  return m_nextFd++;
}
