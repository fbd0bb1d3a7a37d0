// A fake kernel for the Linux DVB backend's tests: adapters with a frontend,
// a demultiplexer and a DVR device, modelled on what the kernel's DVB core
// does with the calls the backend makes:
//  - open: EACCES or EBUSY when the adapter says so; a second read-write
//    open of a frontend is EBUSY; on a read-only frontend every call that is
//    not a pure read is EPERM;
//  - the frontend keeps the DVBv5 properties set on it (DTV_CLEAR resets
//    them), tunes on DTV_TUNE and locks when the carrier's delivery system is
//    one the tune accepts; statistics and legacy reads as the test sets
//    them; SEC calls change its voltage and tone;
//  - the demultiplexer takes a PES filter (or refuses PID 0x2000), the DVR
//    device returns what the test pushes, an overflow as EOVERFLOW, and
//    poll() waits for data or an event counter.
// Every call is logged in one line ("FE_SET_TONE on", "FE_DISEQC_SEND_MASTER_CMD
// E0 10 38 F3", ...), so tests can check orders and bytes.
#pragma once

#include <linux/dvb/frontend.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/linuxdvb/dvb_kernel.h"

struct FakeFrontend {
  std::string name = "Fake DVB-S/S2 frontend";
  std::vector<std::uint32_t> systems{SYS_DVBS, SYS_DVBS2};
  std::uint32_t caps = FE_CAN_INVERSION_AUTO | FE_CAN_FEC_AUTO | FE_CAN_QPSK | FE_CAN_2G_MODULATION;
  fe_type type = FE_QPSK;
  bool enumDelsys = true;      // false: a kernel before DTV_ENUM_DELSYS
  int openError = 0;           // errno of every open (EACCES: no permission)
  int writeOpenError = 0;      // errno of read-write opens (EBUSY: another program tunes it)
  bool refusesDvbs2 = false;   // DTV_TUNE with DVB-S2 fails with EINVAL
  bool keepsStreamId = true;   // false: DTV_STREAM_ID is ignored
  // The carrier on the dish: a tune locks when it asks for one of these.
  std::set<std::uint32_t> locksWith{SYS_DVBS2};
  // Statistics: what FE_GET_PROPERTY reports, whether it fails, the legacy reads.
  dtv_fe_stats strength{};
  dtv_fe_stats cnr{};
  bool statsFail = false;
  std::optional<std::uint16_t> legacyStrength;
  std::optional<std::uint16_t> legacySnr;
  // Values the driver reports back after lock instead of those set (DTV_* -> value).
  std::map<std::uint32_t, std::uint32_t> reported;
};

struct FakeDemux {
  bool refusesWholeStream = false;  // DMX_SET_PES_FILTER with PID 0x2000: EINVAL
  int dvrOpenError = 0;             // EBUSY: another program reads the stream
};

class FakeDvbKernel final : public linuxdvb::DvbKernel {
 public:
  // Adds adapter `number` with its three nodes.
  void AddAdapter(int number, FakeFrontend frontend = {}, FakeDemux demux = {});
  // The frontend model of an adapter, for a test to change (under no call).
  FakeFrontend& Frontend(int adapter) { return m_adapters.at(adapter).frontend; }
  void SetHolders(const std::string& path, std::vector<linuxdvb::DeviceHolder> holders);
  // The next n calls are interrupted (EINTR) before they do anything.
  void InterruptNextCalls(int n);

  // The DVR device of an adapter: data to read, an overflow, a read failure.
  void PushStream(int adapter, std::vector<std::uint8_t> bytes);
  void PushOverflow(int adapter);
  void FailReads(int adapter, int error);
  // Waits until everything pushed to the adapter's DVR device was read.
  bool WaitUntilRead(int adapter);

  std::vector<std::string> Calls() const;
  void ClearCalls();
  // The calls whose line starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  std::uint32_t Property(int adapter, std::uint32_t cmd) const;
  fe_sec_voltage Voltage(int adapter) const;
  fe_sec_tone_mode Tone(int adapter) const;
  bool IsLocked(int adapter) const;
  int OpenCount() const;
  unsigned long DvrBufferSize(int adapter) const;

  // DvbKernel
  std::vector<linuxdvb::DvbNode> ListNodes() override;
  std::vector<linuxdvb::DeviceHolder> FindHolders(const std::string& path) override;
  int Open(const std::string& path, int flags) override;
  int Close(int fd) override;
  int Ioctl(int fd, unsigned long request, std::uintptr_t argument) override;
  long Read(int fd, void* buffer, std::size_t size) override;
  long Write(int fd, const void* buffer, std::size_t size) override;
  int Poll(pollfd* fds, std::size_t count, int timeoutMs) override;
  int EventFd() override;

 private:
  enum class Node { Frontend, Demux, Dvr, Event };
  struct Adapter {
    FakeFrontend frontend;
    FakeDemux demux;
    std::map<std::uint32_t, std::uint32_t> properties;
    std::uint32_t tunedSystem = 0;
    bool tuned = false;
    bool frontendWriter = false;
    fe_sec_voltage voltage = SEC_VOLTAGE_OFF;
    fe_sec_tone_mode tone = SEC_TONE_OFF;
    unsigned long dvrBufferSize = 0;
    bool filterRunning = false;
    std::deque<std::vector<std::uint8_t>> stream;  // an empty entry marks an overflow
    int readError = 0;
  };
  struct OpenFile {
    Node node;
    int adapter;
    bool readOnly;
    std::uint64_t events = 0;  // an event counter's value
  };

  int FrontendIoctl(Adapter& a, const OpenFile& open, unsigned long request, std::uintptr_t argument);
  int DemuxIoctl(Adapter& a, unsigned long request, std::uintptr_t argument);
  bool Interrupted();
  long ReadData(int fd, void* buffer, std::size_t size);
  void ClearProperties(Adapter& a);
  short ReadyLocked(const pollfd& fd) const;
  void Log(std::string line);

  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::map<int, Adapter> m_adapters;
  std::map<int, OpenFile> m_open;
  std::map<std::string, std::vector<linuxdvb::DeviceHolder>> m_holders;
  std::vector<std::string> m_calls;
  int m_nextFd = 100;
  int m_interrupts = 0;
};

// A statistics entry as a driver fills it.
dtv_fe_stats Stat(fecap_scale_params scale, std::int64_t value);
