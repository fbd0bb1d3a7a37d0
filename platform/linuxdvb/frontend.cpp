#include "platform/linuxdvb/frontend.h"

#include <cerrno>

#include "platform/com/clock.h"
#include "platform/linuxdvb/media_info_derivation.h"
#include "platform/linuxdvb/signal_scale.h"
#include "platform/ui/debug_output.h"

namespace linuxdvb {
namespace {

constexpr HRESULT kClosed = HResultFromErrno(EBADF);

dtv_property Property(std::uint32_t cmd, std::uint32_t value = 0) {
  dtv_property p{};
  p.cmd = cmd;
  p.u.data = value;
  return p;
}

fe_sec_voltage KernelVoltage(LnbVoltage voltage) {
  switch (voltage) {
    case LnbVoltage::V13: return SEC_VOLTAGE_13;
    case LnbVoltage::V18: return SEC_VOLTAGE_18;
    case LnbVoltage::Off: break;
  }
  return SEC_VOLTAGE_OFF;
}

const char* SystemName(fe_delivery_system system) { return system == SYS_DVBS2 ? "DVB-S2" : "DVB-S"; }

}  // namespace

Frontend::Frontend(std::shared_ptr<KernelCalls> calls, DeviceFd fd, std::string label, FrontendInfo info,
                   FrontendOptions options)
    : m_calls(std::move(calls)), m_label(std::move(label)), m_info(std::move(info)), m_options(options),
      m_fd(std::move(fd)) {
  std::lock_guard lock(m_mutex);
  // The capability flag is a hint; what the kernel keeps decides.
  m_takesStreamIds = m_info.Has(SYS_DVBS2) && ProbeStreamIdLocked(0) && ProbeStreamIdLocked(NO_STREAM_ID_FILTER);
  const bool flagged = (m_info.caps & FE_CAN_MULTISTREAM) != 0;
  if (flagged != m_takesStreamIds) {
    Log(std::string("input stream selection ") + (m_takesStreamIds ? "works" : "does not work") +
        " although the frontend says " + (flagged ? "it can" : "it cannot"));
  }
}

Frontend::~Frontend() { Close(); }

void Frontend::Log(const std::string& text) const { OutputDebugString(m_label + ": " + text); }

HRESULT Frontend::Report(const KernelError& error, const std::string& during) {
  std::string text = during + " failed: " + error.Describe();
  // The kernel refuses every control call on a frontend opened read-only.
  if (error.error == EPERM && error.call != "open") text += " (the frontend is open read-only)";
  Log(text);
  return HResultFromErrno(error.error);
}

CallResult Frontend::SetPropertiesLocked(std::vector<dtv_property>& list) {
  dtv_properties properties{static_cast<std::uint32_t>(list.size()), list.data()};
  return m_calls->Ioctl(m_fd.Get(), FE_SET_PROPERTY, &properties);
}

CallResult Frontend::GetPropertiesLocked(std::vector<dtv_property>& list) {
  dtv_properties properties{static_cast<std::uint32_t>(list.size()), list.data()};
  return m_calls->Ioctl(m_fd.Get(), FE_GET_PROPERTY, &properties);
}

bool Frontend::ProbeStreamIdLocked(std::uint32_t id) {
  std::vector<dtv_property> set{Property(DTV_STREAM_ID, id)};
  if (!SetPropertiesLocked(set).Ok()) return false;
  std::vector<dtv_property> get{Property(DTV_STREAM_ID)};
  return GetPropertiesLocked(get).Ok() && get[0].u.data == id;
}

HRESULT Frontend::RunSecLocked(const std::vector<SecStep>& steps) {
  Log("SEC: " + DescribeSec(steps));
  for (const SecStep& step : steps) {
    switch (step.kind) {
      case SecStep::Kind::SetVoltage:
        if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_SET_VOLTAGE, KernelVoltage(step.voltage)); !r.Ok())
          return Report(r.Error(), "setting the LNB voltage");
        m_voltage = step.voltage;
        break;
      case SecStep::Kind::SetTone:
        if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_SET_TONE, step.tone == Tone::On ? SEC_TONE_ON : SEC_TONE_OFF);
            !r.Ok())
          return Report(r.Error(), "setting the 22 kHz tone");
        m_tone = step.tone;
        break;
      case SecStep::Kind::Pause: Sleep(step.pauseMs); break;
      case SecStep::Kind::SendDiseqc: {
        dvb_diseqc_master_cmd command{};
        for (std::size_t i = 0; i < step.message.size(); ++i) command.msg[i] = step.message[i];
        command.msg_len = static_cast<std::uint8_t>(step.message.size());
        if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_DISEQC_SEND_MASTER_CMD, &command); !r.Ok())
          return Report(r.Error(), "sending the DiSEqC message");
        break;
      }
    }
  }
  return S_OK;
}

HRESULT Frontend::TuneAttemptLocked(fe_delivery_system system) {
  std::vector<dtv_property> list =
      TuneProperties(*m_target, system, system == SYS_DVBS2 ? m_streamId : std::nullopt);
  if (const CallResult r = SetPropertiesLocked(list); !r.Ok())
    return Report(r.Error(), std::string("tuning ") + SystemName(system));
  m_attempt = system == SYS_DVBS2 ? Attempt::Dvbs2 : Attempt::Dvbs;
  m_attemptStartMs = TickCountMs();
  Log(std::string("tuned ") + SystemName(system) + ", IF " + std::to_string(m_target->ifKHz) + " kHz, " +
      std::to_string(m_target->symbolRate) + " S/s");
  return S_OK;
}

HRESULT Frontend::Tune(const DvbsTuneParameters& request) {
  std::string reason;
  const auto target = PlanTune(request, &reason);
  if (!target) {
    Log("tune request refused: " + reason);
    return E_INVALIDARG;
  }
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return kClosed;
  m_attempt = Attempt::None;
  if (const HRESULT hr = RunSecLocked(PlanSec(target->voltage, target->tone, {}, m_options.pauses)); FAILED(hr))
    return hr;
  m_target = target;
  if (m_info.Has(SYS_DVBS2)) {
    const HRESULT s2 = TuneAttemptLocked(SYS_DVBS2);
    if (SUCCEEDED(s2) || !m_info.Has(SYS_DVBS)) return s2;
    Log("DVB-S2 refused; trying DVB-S");
  }
  return TuneAttemptLocked(SYS_DVBS);
}

int Frontend::Measure(std::optional<int> v5, unsigned long legacyRequest) {
  if (v5) return *v5;
  // Not available this time: the legacy read stands in for this read only;
  // the next read asks the DVBv5 statistics again.
  std::uint16_t legacy = 0;
  return m_calls->Ioctl(m_fd.Get(), legacyRequest, &legacy).Ok() ? LegacyPercent(legacy) : 0;
}

void Frontend::FallBackIfDueLocked(bool locked) {
  if (m_attempt != Attempt::Dvbs2 || !m_info.Has(SYS_DVBS)) return;
  if (locked) {
    m_attempt = Attempt::None;  // settled: no fallback for this tune
    return;
  }
  if (TickCountMs() - m_attemptStartMs < m_options.dvbs2AcquisitionMs) return;
  Log("no DVB-S2 lock after " + std::to_string(m_options.dvbs2AcquisitionMs) + " ms; trying DVB-S");
  if (FAILED(TuneAttemptLocked(SYS_DVBS))) m_attempt = Attempt::None;
}

HRESULT Frontend::SendDiseqc(const std::uint8_t* message, std::size_t length) {
  if (!message || length < 3 || length > sizeof(dvb_diseqc_master_cmd::msg)) {
    Log("a DiSEqC message of " + std::to_string(length) + " bytes cannot be sent: the kernel carries 3 to 6 bytes");
    return E_INVALIDARG;
  }
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return kClosed;
  // The bus needs power: an LNB not yet powered gets 13 V, the lower load.
  const LnbVoltage voltage = m_voltage == LnbVoltage::Off ? LnbVoltage::V13 : m_voltage;
  return RunSecLocked(PlanSec(voltage, m_tone, std::vector<std::uint8_t>(message, message + length), m_options.pauses));
}

HRESULT Frontend::SelectInputStream(std::uint32_t id) {
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return kClosed;
  if (!m_takesStreamIds || !ProbeStreamIdLocked(id)) {
    Log("input stream " + std::to_string(id) + " cannot be selected: the frontend does not keep DTV_STREAM_ID");
    return E_NOTIMPL;
  }
  m_streamId = id;
  if (!m_target) return S_OK;  // the next tune carries it
  return TuneAttemptLocked(SYS_DVBS2);
}

HRESULT Frontend::ReadSignal(SignalReading* reading) {
  if (!reading) return E_POINTER;
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return kClosed;
  fe_status_t status{};
  if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_READ_STATUS, &status); !r.Ok())
    return Report(r.Error(), "reading the lock status");
  *reading = {};
  reading->locked = (status & FE_HAS_LOCK) != 0;

  std::vector<dtv_property> stats{Property(DTV_STAT_SIGNAL_STRENGTH), Property(DTV_STAT_CNR)};
  const bool v5 = GetPropertiesLocked(stats).Ok();
  reading->strength = Measure(v5 ? StrengthPercent(stats[0].u.st) : std::nullopt, FE_READ_SIGNAL_STRENGTH);
  reading->quality = Measure(v5 ? CarrierToNoisePercent(stats[1].u.st) : std::nullopt, FE_READ_SNR);

  FallBackIfDueLocked(reading->locked);
  return S_OK;
}

HRESULT Frontend::ReadMediaInfo(driver::MediaInfoReport* report) {
  if (!report) return E_POINTER;
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return kClosed;
  *report = {};
  fe_status_t status{};
  if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_READ_STATUS, &status); !r.Ok())
    return Report(r.Error(), "reading the lock status");
  if (!(status & FE_HAS_LOCK)) return S_OK;
  std::vector<dtv_property> list{Property(DTV_DELIVERY_SYSTEM), Property(DTV_MODULATION), Property(DTV_INNER_FEC),
                                 Property(DTV_ROLLOFF),         Property(DTV_PILOT),      Property(DTV_INVERSION),
                                 Property(DTV_FREQUENCY),       Property(DTV_SYMBOL_RATE), Property(DTV_STREAM_ID)};
  if (const CallResult r = GetPropertiesLocked(list); !r.Ok()) return Report(r.Error(), "reading the tuned parameters");
  TunedParameters tuned;
  tuned.deliverySystem = list[0].u.data;
  tuned.modulation = list[1].u.data;
  tuned.innerFec = list[2].u.data;
  tuned.rollOff = list[3].u.data;
  tuned.pilot = list[4].u.data;
  tuned.inversion = list[5].u.data;
  tuned.frequencyKHz = list[6].u.data;
  tuned.symbolRate = list[7].u.data;
  tuned.streamId = list[8].u.data;
  *report = DeriveMediaInfo(tuned);
  return S_OK;
}

void Frontend::Close() {
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return;
  // Leave the LNB and whatever hangs on the cable unpowered and quiet.
  if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_SET_TONE, SEC_TONE_OFF); !r.Ok())
    Report(r.Error(), "turning the tone off");
  if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_SET_VOLTAGE, SEC_VOLTAGE_OFF); !r.Ok())
    Report(r.Error(), "turning the LNB voltage off");
  m_tone = Tone::Off;
  m_voltage = LnbVoltage::Off;
  m_fd.Reset();
  Log("closed");
}

}  // namespace linuxdvb
