// One DVB-S/S2 frontend opened for control, and everything the card's driver
// does with it: tuning, the satellite equipment control (LNB voltage, 22 kHz
// tone, DiSEqC, tone burst), input stream selection, signal statistics and
// the tuned parameters. Every kernel call goes through KernelCalls; every
// failure is written to the backend's log with the call and device that
// failed, set as the calling thread's error description (error_info.h) and
// returned as a negative status.
//
// Tuning searches the carrier's parameters (tune_plan.h): each status read
// (the monitor's, about once a second, or rx40ctl's while it waits for lock)
// moves on to the next attempt once the current one has had its acquisition
// time without lock; a lock ends the search and the attempt that locked is
// remembered for the carrier (carrier_memory.h). A search that runs out
// starts over: the dish may still be turning onto the satellite.
//
// Input streams: FE_CAN_MULTISTREAM decides. The kernel stores and hands back
// any DTV_STREAM_ID on every frontend, so reading it back proves nothing.
//
// A frontend without LNB power control (no set_voltage in its driver; the
// kernel answers ENOTSUPP) or without a 22 kHz tone is tuned all the same:
// the LNB then hangs on an external supply. Said once in the backend's log.
//
// Closing turns the tone and the LNB voltage off, then closes the device;
// later calls fail.
//
// Threads: the UI thread tunes and sends DiSEqC messages, the signal monitor
// reads statistics and the tuned parameters. One mutex, m_mutex, guards the
// device and all state and is held for a whole sequence (the SEC pauses
// included), so a statistics read never sees a half-done tune.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/hresult.h"
#include "platform/linuxdvb/adapter_discovery.h"
#include "platform/linuxdvb/carrier_memory.h"
#include "platform/linuxdvb/kernel_calls.h"
#include "platform/linuxdvb/media_info_derivation.h"
#include "platform/linuxdvb/sec_plan.h"
#include "platform/linuxdvb/tune_plan.h"
#include "platform/linuxdvb/tune_search.h"
#include "platform/media/driver_records.h"

namespace linuxdvb {

struct FrontendOptions {
  SecPauses pauses;
  // Where the carriers' locked parameters are kept; empty: nowhere.
  std::string carrierMemoryPath;
};

struct SignalReading {
  int strength = 0;  // 0..100, see signal_scale.h
  int quality = 0;   // 0..100, see signal_scale.h
  bool locked = false;
  std::optional<double> strengthDbm;
  std::optional<double> cnrDb;
  std::optional<double> marginDb;  // the C/N above what the tuned MODCOD needs
  std::optional<std::uint64_t> bitErrors;  // since the driver started counting
  std::optional<std::uint64_t> bitsCounted;
  std::optional<std::uint64_t> uncorrectedBlocks;
};

// Which statistics the driver gives and in which scale, for the capability
// report: "dB", "relative", "counter", "legacy" (the old ioctl only) or
// "none"; a DVBv5 measure that only fills in after lock shows as "after lock".
struct StatisticsSupport {
  std::string strength;
  std::string cnr;
  std::string bitErrors;
  std::string blockErrors;
};

class Frontend {
 public:
  // Takes over fd, the frontend opened read-write; label names the adapter
  // in every message ("adapter 0 (STV090x Multistandard)").
  Frontend(std::shared_ptr<KernelCalls> calls, DeviceFd fd, std::string label, FrontendInfo info,
           FrontendOptions options);
  ~Frontend();
  Frontend(const Frontend&) = delete;
  Frontend& operator=(const Frontend&) = delete;

  const std::string& Label() const { return m_label; }
  const FrontendInfo& Info() const { return m_info; }
  // One line, after the label, to the backend's log. Any thread.
  void Log(const std::string& text) const;

  // A tune request from the network provider: the SEC sequence, then the
  // first attempt of the search. E_INVALIDARG for a request that cannot be
  // tuned (see PlanTune).
  HRESULT Tune(const DvbsTuneParameters& request);
  // One DiSEqC message of 3 to 6 bytes (what the kernel carries) at the
  // voltage it needs (a committed-switch write: the polarisation it selects),
  // with the tone off around it; E_INVALIDARG for other lengths.
  HRESULT SendDiseqc(const std::uint8_t* message, std::size_t length);
  // Selects input stream id (0..255) for DVB-S2 tunes and retunes the
  // current carrier with it. E_NOTIMPL without FE_CAN_MULTISTREAM.
  HRESULT SelectInputStream(std::uint32_t id);
  bool TakesStreamIds() const { return m_takesStreamIds; }
  // False once the driver said it has no LNB power control.
  bool ControlsLnbVoltage() const;

  HRESULT ReadSignal(SignalReading* reading);
  // The locked carrier's parameters as a media-information record; all zero
  // while nothing is locked.
  HRESULT ReadMediaInfo(driver::MediaInfoReport* report);
  StatisticsSupport ProbeStatistics();

  // Tone off, LNB voltage off, device closed. Idempotent.
  void Close();

 private:
  SecState SecNowLocked(const SecRequest& want) const;
  HRESULT RunSecLocked(const std::vector<SecStep>& steps);
  HRESULT SendAttemptLocked(const TuneAttempt& attempt);
  void StartSearchLocked(const std::optional<TuneAttempt>& first);
  // Moves the search on after a status read; remembers a lock.
  void AdvanceSearchLocked(bool locked);
  void RememberLockLocked();
  std::optional<TunedParameters> ReadTunedLocked();
  void ReadStatisticsLocked(SignalReading* reading);
  CallResult SetPropertiesLocked(std::vector<dtv_property>& list);
  CallResult GetPropertiesLocked(std::vector<dtv_property>& list);
  // Writes the failure to the backend's log and the error description; its status.
  HRESULT Report(const KernelError& error, const std::string& during);

  const std::shared_ptr<KernelCalls> m_calls;
  const std::string m_label;
  const FrontendInfo m_info;
  const FrontendOptions m_options;
  const bool m_takesStreamIds;

  mutable std::mutex m_mutex;
  // All below guarded by m_mutex.
  DeviceFd m_fd;
  SecState m_sec;
  bool m_voltageControl = true;
  bool m_toneControl = true;
  std::optional<TuneTarget> m_target;  // the last tune request's
  std::optional<CarrierKey> m_carrier;
  std::optional<std::uint32_t> m_plsGold;
  std::optional<std::uint32_t> m_streamId;
  TuneSearch m_search;
  bool m_lockRemembered = false;
  CarrierMemory m_memory;
  // Legacy statistics the driver lacks (ENOTSUPP): not asked again.
  bool m_legacyStrength = true;
  bool m_legacySnr = true;
  bool m_legacyBer = true;
  bool m_legacyBlocks = true;
};

}  // namespace linuxdvb
