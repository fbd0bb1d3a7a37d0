// A fake kernel for the Linux DVB backend's tests: adapters with one or more
// frontends, a demultiplexer and a DVR device, a dish in front of them, and
// the DVB core's handling of the calls the backend makes (dvb_frontend.c):
//  - open: EACCES or EBUSY when the frontend says so; a second read-write
//    open of a frontend, or of another frontend of the same adapter while
//    one is open read-write, is EBUSY; on a read-only frontend every call
//    that is not a pure read is EPERM;
//  - FE_SET_PROPERTY stores the properties (DTV_CLEAR resets them, stream
//    id and scrambling index unchecked, as the core does); DTV_TUNE fails
//    only the core's own checks (delivery system, frequency and symbol-rate
//    range: EINVAL) and returns 0 otherwise. Whether the tune locks is the
//    driver's (driver_profiles.h): a refused parameter or a carrier not on
//    the dish means it never does; else it locks once the driver's
//    acquisition time has passed on the program's clock;
//  - the frontend reaches the dish through an LNB: the voltage picks the
//    polarisation, the tone the high oscillator, and the IF maps back to a
//    downlink (above or below the oscillator) that must be a carrier's;
//  - missing driver operations answer ENOTSUPP (524); statistics as the
//    profile fills them from the received carrier;
//  - the demultiplexer takes a PES filter (or refuses PID 0x2000), the DVR
//    device returns what the test pushes, an overflow as EOVERFLOW, and
//    poll() waits for data or an event counter.
// Every call is logged in one line ("FE_SET_TONE on", "FE_DISEQC_SEND_MASTER_CMD
// E0 10 38 F3", ...), and every DiSEqC message or burst that reaches the bus
// with the voltage and tone it met ("bus E0 10 38 F3 at 18 V tone off").
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
#include "tests/linuxdvb/driver_profiles.h"

struct FakeFrontend {
  DriverProfile profile = PermissiveProfile();
  std::string name;         // FE_GET_INFO's name; empty: the profile's
  bool enumDelsys = true;   // false: a kernel before DTV_ENUM_DELSYS
  fe_type type = FE_QPSK;
  int openError = 0;        // errno of every open (EACCES: no permission)
  int writeOpenError = 0;   // errno of read-write opens (EBUSY: another program tunes it)
};

struct FakeDemux {
  bool refusesWholeStream = false;  // DMX_SET_PES_FILTER with PID 0x2000: EINVAL
  int dvrOpenError = 0;             // EBUSY: another program reads the stream
};

// A carrier on the satellite the dish points at.
struct FakeCarrier {
  double downlinkMHz = 11362;
  char polarisation = 'H';  // H (18 V) or V (13 V)
  std::uint32_t symbolRate = 22000000;
  fe_delivery_system system = SYS_DVBS2;
  fe_modulation modulation = PSK_8;
  fe_code_rate fec = FEC_2_3;
  fe_rolloff rolloff = ROLLOFF_20;
  fe_pilot pilot = PILOT_ON;
  std::vector<std::uint32_t> inputStreams;  // a multistream carrier's ISIs
  std::uint32_t plsGold = 0;                // its scrambling Gold code
  double cnrDb = 12.0;
  double levelDbm = -45.0;
};

struct FakeDish {
  int lowOscillatorMHz = 9750;   // the LNB's; the tone selects the high one
  int highOscillatorMHz = 10600;
  bool oscillatorAbove = false;  // C band: downlink = oscillator - IF
  // No carriers: every tune finds the carrier it asks for (a signal source
  // that follows the tuner), with the level and C/N of a default carrier.
  std::vector<FakeCarrier> carriers;
  // The LNB's voltage when the frontend cannot set it (an external supply).
  fe_sec_voltage externalSupply = SEC_VOLTAGE_18;
};

class FakeDvbKernel final : public linuxdvb::DvbKernel {
 public:
  // Adds adapter `number` with its frontends (frontend0, frontend1, ...), a
  // demultiplexer and a DVR device, in front of `dish`.
  void AddAdapter(int number, FakeFrontend frontend = {}, FakeDemux demux = {}, FakeDish dish = {});
  void AddAdapter(int number, std::vector<FakeFrontend> frontends, FakeDemux demux, FakeDish dish);
  // The first frontend's model of an adapter, for a test to change (under no call).
  FakeFrontend& Frontend(int adapter) { return m_adapters.at(adapter).frontends.at(0).model; }
  void SetDish(int adapter, FakeDish dish);
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
  // The messages and bursts that reached the adapter's DiSEqC bus.
  std::vector<std::string> Bus(int adapter) const;
  // State of the adapter's frontend that last tuned (else its first).
  std::uint32_t Property(int adapter, std::uint32_t cmd) const;
  fe_sec_voltage Voltage(int adapter) const;
  fe_sec_tone_mode Tone(int adapter) const;
  bool IsLocked(int adapter) const;
  // The carrier the adapter is locked to, if any.
  std::optional<FakeCarrier> LockedCarrier(int adapter) const;
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
  struct FrontendState {
    FakeFrontend model;
    std::map<std::uint32_t, std::uint32_t> properties;
    bool tuned = false;
    std::uint64_t tunedAtMs = 0;
    bool writer = false;
    fe_sec_voltage voltage = SEC_VOLTAGE_OFF;
    fe_sec_tone_mode tone = SEC_TONE_OFF;
    std::optional<fe_sec_mini_cmd> cachedBurst;
  };
  struct Adapter {
    std::vector<FrontendState> frontends;
    int lastTuned = 0;
    FakeDemux demux;
    FakeDish dish;
    std::vector<std::string> bus;
    unsigned long dvrBufferSize = 0;
    bool filterRunning = false;
    std::deque<std::vector<std::uint8_t>> stream;  // an empty entry marks an overflow
    int readError = 0;
  };
  struct OpenFile {
    Node node;
    int adapter;
    int index;  // the frontend's
    bool readOnly;
    std::uint64_t events = 0;  // an event counter's value
  };

  int FrontendIoctl(Adapter& a, FrontendState& f, const OpenFile& open, unsigned long request, std::uintptr_t argument);
  int SetProperties(Adapter& a, FrontendState& f, const dtv_properties& list);
  int GetProperties(Adapter& a, FrontendState& f, dtv_properties& list);
  int SendDiseqc(Adapter& a, FrontendState& f, const dvb_diseqc_master_cmd& command);
  // The carrier the frontend receives with its tune, voltage and tone.
  std::optional<FakeCarrier> Received(const Adapter& a, const FrontendState& f) const;
  std::optional<FakeCarrier> LockedLocked(const Adapter& a, const FrontendState& f) const;
  int DemuxIoctl(Adapter& a, unsigned long request, std::uintptr_t argument);
  bool Interrupted();
  long ReadData(int fd, void* buffer, std::size_t size);
  static void ClearProperties(FrontendState& f);
  short ReadyLocked(const pollfd& fd) const;
  void Log(std::string line);
  const FrontendState& ShownLocked(int adapter) const;

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
