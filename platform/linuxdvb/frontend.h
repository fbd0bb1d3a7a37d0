// One DVB-S/S2 frontend opened for control, and everything the card's driver
// does with it: tuning, the satellite equipment control (LNB voltage, 22 kHz
// tone, DiSEqC), input stream selection, signal statistics and the tuned
// parameters. Every kernel call goes through KernelCalls; every failure is
// written to the debug output with the call and device that failed and is
// returned as a negative status.
//
// Tuning: DVB-S2 first, with modulation, FEC, roll-off and pilots left to
// the demodulator. A frontend without DVB-S2, or one that refuses the DVB-S2
// request, is tuned as DVB-S at once; one that accepts it but finds no lock
// within the acquisition time is retuned as DVB-S by the next statistics
// read after that time (the monitor reads about once a second), once per
// tune request.
//
// Input streams: whether the frontend keeps DTV_STREAM_ID is probed when it
// is opened (set it and read it back), not taken from FE_CAN_MULTISTREAM.
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
#include "platform/linuxdvb/kernel_calls.h"
#include "platform/linuxdvb/sec_plan.h"
#include "platform/linuxdvb/tune_plan.h"
#include "platform/media/driver_records.h"

namespace linuxdvb {

struct FrontendOptions {
  SecPauses pauses;
  // How long a DVB-S2 attempt may take to lock before DVB-S is tried.
  std::uint32_t dvbs2AcquisitionMs = 1500;
};

struct SignalReading {
  int strength = 0;  // 0..100, see signal_scale.h
  int quality = 0;   // 0..100, from the carrier-to-noise ratio
  bool locked = false;
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

  // A tune request from the network provider: voltage, tone, pause, tune.
  // E_INVALIDARG for a request that cannot be tuned (see PlanTune).
  HRESULT Tune(const DvbsTuneParameters& request);
  // One DiSEqC message of 3 to 6 bytes (what the kernel carries), with the
  // voltage on and the tone off around it; E_INVALIDARG for other lengths.
  HRESULT SendDiseqc(const std::uint8_t* message, std::size_t length);
  // Selects an input stream for DVB-S2 tunes and retunes the current
  // carrier with it. E_NOTIMPL when the frontend does not keep stream ids.
  HRESULT SelectInputStream(std::uint32_t id);
  bool TakesStreamIds() const { return m_takesStreamIds; }

  HRESULT ReadSignal(SignalReading* reading);
  // The locked carrier's parameters as a media-information record; all zero
  // while nothing is locked.
  HRESULT ReadMediaInfo(driver::MediaInfoReport* report);

  // Tone off, LNB voltage off, device closed. Idempotent.
  void Close();

 private:
  enum class Attempt { None, Dvbs2, Dvbs };

  HRESULT RunSecLocked(const std::vector<SecStep>& steps);
  HRESULT TuneAttemptLocked(fe_delivery_system system);
  // DVB-S after a DVB-S2 attempt that did not lock in time.
  void FallBackIfDueLocked(bool locked);
  // A DVBv5 measure in percent, or the legacy read's when it has none.
  int Measure(std::optional<int> v5, unsigned long legacyRequest);
  bool ProbeStreamIdLocked(std::uint32_t id);
  CallResult SetPropertiesLocked(std::vector<dtv_property>& list);
  CallResult GetPropertiesLocked(std::vector<dtv_property>& list);
  // Writes the failure to the debug output; its status.
  HRESULT Report(const KernelError& error, const std::string& during);
  void Log(const std::string& text) const;

  const std::shared_ptr<KernelCalls> m_calls;
  const std::string m_label;
  const FrontendInfo m_info;
  const FrontendOptions m_options;

  mutable std::mutex m_mutex;
  // All below guarded by m_mutex.
  DeviceFd m_fd;
  bool m_takesStreamIds = false;  // written once, in the constructor
  LnbVoltage m_voltage = LnbVoltage::Off;
  Tone m_tone = Tone::Off;
  std::optional<TuneTarget> m_target;  // the last tune request's
  Attempt m_attempt = Attempt::None;
  std::uint64_t m_attemptStartMs = 0;
  std::optional<std::uint32_t> m_streamId;
};

}  // namespace linuxdvb
