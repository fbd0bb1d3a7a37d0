#include "platform/linuxdvb/frontend.h"

#include <cerrno>

#include "platform/com/clock.h"
#include "platform/com/error_info.h"
#include "platform/linuxdvb/capability_report.h"
#include "platform/linuxdvb/media_info_derivation.h"
#include "platform/linuxdvb/signal_scale.h"

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

}  // namespace

Frontend::Frontend(std::shared_ptr<KernelCalls> calls, DeviceFd fd, std::string label, FrontendInfo info,
                   FrontendOptions options)
    : m_calls(std::move(calls)),
      m_label(std::move(label)),
      m_info(std::move(info)),
      m_options(std::move(options)),
      m_takesStreamIds(m_info.Has(SYS_DVBS2) && (m_info.caps & FE_CAN_MULTISTREAM) != 0),
      m_fd(std::move(fd)),
      m_memory(m_options.carrierMemoryPath) {}

Frontend::~Frontend() { Close(); }

void Frontend::Log(const std::string& text) const { m_calls->Log(m_label + ": " + text); }

HRESULT Frontend::Report(const KernelError& error, const std::string& during) {
  std::string text = during + " failed: " + error.Describe();
  // The kernel refuses every control call on a frontend opened read-only.
  if (error.error == EPERM && error.call != "open") text += " (the frontend is open read-only)";
  Log(text);
  SetErrorDescription(text);
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

bool Frontend::ControlsLnbVoltage() const {
  std::lock_guard lock(m_mutex);
  return m_voltageControl;
}

SecState Frontend::SecNowLocked(const SecRequest& want) const {
  // What the driver cannot change needs no step (nor its pause).
  SecState now = m_sec;
  if (!m_voltageControl) now.voltage = want.voltage;
  if (!m_toneControl) now.tone = want.tone;
  return now;
}

HRESULT Frontend::RunSecLocked(const std::vector<SecStep>& steps) {
  if (!steps.empty()) Log("SEC: " + DescribeSec(steps));
  for (const SecStep& step : steps) {
    switch (step.kind) {
      case SecStep::Kind::SetVoltage: {
        if (!m_voltageControl) break;
        const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_SET_VOLTAGE, KernelVoltage(step.voltage));
        if (!r.Ok() && IsNotSupported(r.Errno())) {
          m_voltageControl = false;
          Log("the LNB voltage is not under this program's control (" + r.Error().Describe() +
              "); tuning goes on with whatever supplies the LNB");
          break;
        }
        if (!r.Ok()) {
          m_sec.voltage.reset();
          return Report(r.Error(), "setting the LNB voltage");
        }
        m_sec.voltage = step.voltage;
        break;
      }
      case SecStep::Kind::SetTone: {
        if (!m_toneControl) break;
        const CallResult r =
            m_calls->Ioctl(m_fd.Get(), FE_SET_TONE, step.tone == Tone::On ? SEC_TONE_ON : SEC_TONE_OFF);
        if (!r.Ok() && IsNotSupported(r.Errno())) {
          m_toneControl = false;
          Log("the 22 kHz tone is not under this program's control (" + r.Error().Describe() + ")");
          break;
        }
        if (!r.Ok()) {
          m_sec.tone.reset();
          return Report(r.Error(), "setting the 22 kHz tone");
        }
        m_sec.tone = step.tone;
        break;
      }
      case SecStep::Kind::Pause: Sleep(step.pauseMs); break;
      case SecStep::Kind::SendDiseqc: {
        dvb_diseqc_master_cmd command{};
        for (std::size_t i = 0; i < step.message.size(); ++i) command.msg[i] = step.message[i];
        command.msg_len = static_cast<std::uint8_t>(step.message.size());
        if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_DISEQC_SEND_MASTER_CMD, &command); !r.Ok())
          return Report(r.Error(), "sending the DiSEqC message");
        break;
      }
      case SecStep::Kind::SendBurst:
        if (const CallResult r =
                m_calls->Ioctl(m_fd.Get(), FE_DISEQC_SEND_BURST, step.burst == Burst::A ? SEC_MINI_A : SEC_MINI_B);
            !r.Ok())
          return Report(r.Error(), "sending the tone burst");
        break;
    }
  }
  return S_OK;
}

HRESULT Frontend::SendAttemptLocked(const TuneAttempt& attempt) {
  std::optional<std::uint32_t> streamId;
  if (m_takesStreamIds) streamId = m_streamId;
  std::vector<dtv_property> list = TuneProperties(*m_target, attempt, m_info.caps, {streamId, m_plsGold});
  if (const CallResult r = SetPropertiesLocked(list); !r.Ok()) return Report(r.Error(), "tuning " + DescribeAttempt(attempt));
  Log("tuned IF " + std::to_string(m_target->ifKHz) + " kHz, " + std::to_string(m_target->symbolRate) + " S/s, " +
      DescribeAttempt(attempt) + " (attempt " + std::to_string(m_search.Number()) + " of " +
      std::to_string(m_search.Count()) + ")");
  return S_OK;
}

void Frontend::StartSearchLocked(const std::optional<TuneAttempt>& first) {
  std::optional<TuneAttempt> remembered = first;
  if (!remembered && m_carrier) remembered = m_memory.Find(*m_carrier);
  m_search.Start(PlanSearch(m_info.caps, m_info.systems, remembered), AcquisitionMs(m_target->symbolRate), TickCountMs());
  m_lockRemembered = false;
}

HRESULT Frontend::Tune(const DvbsTuneParameters& request) {
  std::string reason;
  const auto target = PlanTune(request, &reason);
  if (!target) {
    Log("tune request refused: " + reason);
    SetErrorDescription(reason);
    return E_INVALIDARG;
  }
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return kClosed;
  m_search.Settle();
  SecRequest sec{target->voltage, target->tone, {}, target->burst};
  if (const HRESULT hr = RunSecLocked(PlanSec(SecNowLocked(sec), sec, m_options.pauses)); FAILED(hr)) return hr;
  m_target = target;
  m_carrier = KeyOf(request);
  m_plsGold.reset();
  if (request.plsGold >= 0) m_plsGold = static_cast<std::uint32_t>(request.plsGold);
  StartSearchLocked(std::nullopt);
  const TuneAttempt* first = m_search.Current();
  if (!first) {
    SetErrorDescription("the frontend receives neither DVB-S nor DVB-S2");
    return E_NOTIMPL;
  }
  const HRESULT hr = SendAttemptLocked(*first);
  if (FAILED(hr)) m_search.Settle();
  return hr;
}

void Frontend::AdvanceSearchLocked(bool locked) {
  if (!m_search.IsSearching()) return;
  const TuneAttempt* next = m_search.Advance(locked, TickCountMs());
  if (locked) {
    RememberLockLocked();
    return;
  }
  if (m_search.IsExhausted()) {
    Log("no lock after all " + std::to_string(m_search.Count()) + " attempts; searching again from the first");
    StartSearchLocked(std::nullopt);
    next = m_search.Current();
  }
  if (next && FAILED(SendAttemptLocked(*next))) m_search.Settle();
}

void Frontend::RememberLockLocked() {
  if (m_lockRemembered || !m_carrier || !m_search.Current()) return;
  m_lockRemembered = true;
  // What the driver reports it locked with, where it reports it; else what
  // was sent (it locked with that).
  TuneAttempt locked = *m_search.Current();
  if (const auto tuned = ReadTunedLocked()) {
    TuneAttempt reported{static_cast<fe_delivery_system>(tuned->deliverySystem),
                         static_cast<fe_modulation>(tuned->modulation), static_cast<fe_code_rate>(tuned->innerFec),
                         static_cast<fe_rolloff>(tuned->rollOff), static_cast<fe_pilot>(tuned->pilot)};
    if (ParseAttempt(DescribeAttempt(reported))) locked = reported;
  }
  Log("locked with " + DescribeAttempt(locked));
  std::string error;
  if (!m_memory.Remember(*m_carrier, locked, &error)) Log("the locked parameters are not remembered: " + error);
}

HRESULT Frontend::SendDiseqc(const std::uint8_t* message, std::size_t length) {
  if (!message || length < 3 || length > sizeof(dvb_diseqc_master_cmd::msg)) {
    const std::string why = "a DiSEqC message of " + std::to_string(length) +
                            " bytes cannot be sent: the kernel carries 3 to 6 bytes (framing, address, command "
                            "and up to three data bytes)";
    Log(why);
    SetErrorDescription(why);
    return E_INVALIDARG;
  }
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return kClosed;
  std::vector<std::uint8_t> bytes(message, message + length);
  // The bus needs power: a committed switch at the voltage of the
  // polarisation it selects, anything else at the present voltage, or 13 V
  // (the lower load) for an LNB not yet powered.
  SecRequest sec;
  sec.voltage = m_sec.voltage.value_or(LnbVoltage::Off) == LnbVoltage::Off ? LnbVoltage::V13 : *m_sec.voltage;
  sec.tone = m_sec.tone.value_or(Tone::Off);
  if (const auto supply = CommittedSwitchSupply(bytes)) {
    sec.voltage = supply->voltage;
    sec.tone = supply->tone;
  }
  sec.message = std::move(bytes);
  return RunSecLocked(PlanSec(SecNowLocked(sec), sec, m_options.pauses));
}

HRESULT Frontend::SelectInputStream(std::uint32_t id) {
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return kClosed;
  if (!m_takesStreamIds) {
    const std::string why = "input stream " + std::to_string(id) +
                            " cannot be selected: the frontend does not offer input stream selection "
                            "(no FE_CAN_MULTISTREAM)";
    Log(why);
    SetErrorDescription(why);
    return E_NOTIMPL;
  }
  if (id > 255) {
    SetErrorDescription("an input stream id is 0 to 255");
    return E_INVALIDARG;
  }
  m_streamId = id;
  if (!m_target) return S_OK;  // the next tune carries it
  // The carrier stays: the attempt on the frontend now goes first.
  const std::optional<TuneAttempt> current =
      m_search.Current() ? std::optional<TuneAttempt>(*m_search.Current()) : std::nullopt;
  StartSearchLocked(current);
  return SendAttemptLocked(*m_search.Current());
}

std::optional<TunedParameters> Frontend::ReadTunedLocked() {
  std::vector<dtv_property> list{Property(DTV_DELIVERY_SYSTEM), Property(DTV_MODULATION), Property(DTV_INNER_FEC),
                                 Property(DTV_ROLLOFF),         Property(DTV_PILOT),      Property(DTV_INVERSION),
                                 Property(DTV_FREQUENCY),       Property(DTV_SYMBOL_RATE)};
  if (!GetPropertiesLocked(list).Ok()) return std::nullopt;
  TunedParameters tuned;
  tuned.deliverySystem = list[0].u.data;
  tuned.modulation = list[1].u.data;
  tuned.innerFec = list[2].u.data;
  tuned.rollOff = list[3].u.data;
  tuned.pilot = list[4].u.data;
  tuned.inversion = list[5].u.data;
  tuned.frequencyKHz = list[6].u.data;
  tuned.symbolRate = list[7].u.data;
  return tuned;
}

void Frontend::ReadStatisticsLocked(SignalReading* reading) {
  std::vector<dtv_property> stats{Property(DTV_STAT_SIGNAL_STRENGTH), Property(DTV_STAT_CNR),
                                  Property(DTV_STAT_POST_ERROR_BIT_COUNT), Property(DTV_STAT_POST_TOTAL_BIT_COUNT),
                                  Property(DTV_STAT_ERROR_BLOCK_COUNT)};
  const bool v5 = GetPropertiesLocked(stats).Ok();
  const auto legacy16 = [&](bool& supported, unsigned long request) -> std::optional<std::uint16_t> {
    if (!supported) return std::nullopt;
    std::uint16_t value = 0;
    const CallResult r = m_calls->Ioctl(m_fd.Get(), request, &value);
    if (!r.Ok() && IsNotSupported(r.Errno())) supported = false;
    return r.Ok() ? std::optional<std::uint16_t>(value) : std::nullopt;
  };
  const auto legacy32 = [&](bool& supported, unsigned long request) -> std::optional<std::uint32_t> {
    if (!supported) return std::nullopt;
    std::uint32_t value = 0;
    const CallResult r = m_calls->Ioctl(m_fd.Get(), request, &value);
    if (!r.Ok() && IsNotSupported(r.Errno())) supported = false;
    return r.Ok() ? std::optional<std::uint32_t>(value) : std::nullopt;
  };

  // A DVBv5 measure not available this time: the legacy read stands in for
  // this read only; the next read asks the DVBv5 statistics again.
  if (const auto percent = v5 ? StrengthPercent(stats[0].u.st) : std::nullopt) reading->strength = *percent;
  else if (const auto raw = legacy16(m_legacyStrength, FE_READ_SIGNAL_STRENGTH)) reading->strength = LegacyPercent(*raw);
  if (v5) {
    reading->strengthDbm = DecibelValue(stats[0].u.st);
    reading->cnrDb = DecibelValue(stats[1].u.st);
  }
  if (const auto percent = v5 ? CarrierToNoisePercent(stats[1].u.st) : std::nullopt) reading->quality = *percent;
  else if (const auto raw = legacy16(m_legacySnr, FE_READ_SNR)) reading->quality = LegacyPercent(*raw);

  const auto errors = v5 ? CounterValue(stats[2].u.st) : std::nullopt;
  const auto bits = v5 ? CounterValue(stats[3].u.st) : std::nullopt;
  if (errors && bits) {
    reading->bitErrors = errors;
    reading->bitsCounted = bits;
  } else if (const auto ber = legacy32(m_legacyBer, FE_READ_BER)) {
    reading->bitErrors = *ber;
  }
  if (const auto blocks = v5 ? CounterValue(stats[4].u.st) : std::nullopt) reading->uncorrectedBlocks = blocks;
  else if (const auto ucb = legacy32(m_legacyBlocks, FE_READ_UNCORRECTED_BLOCKS)) reading->uncorrectedBlocks = *ucb;

  if (reading->locked && reading->cnrDb) {
    if (const auto tuned = ReadTunedLocked()) {
      if (const auto required = RequiredEsN0Db(*tuned)) {
        reading->marginDb = *reading->cnrDb - *required;
        reading->quality = QualityFromMargin(*reading->marginDb);
      }
    }
  }
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
  ReadStatisticsLocked(reading);
  AdvanceSearchLocked(reading->locked);
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
  const auto tuned = ReadTunedLocked();
  if (!tuned) {
    std::vector<dtv_property> probe{Property(DTV_DELIVERY_SYSTEM)};
    const CallResult r = GetPropertiesLocked(probe);
    return r.Ok() ? E_FAIL : Report(r.Error(), "reading the tuned parameters");
  }
  *report = DeriveMediaInfo(*tuned);
  return S_OK;
}

StatisticsSupport Frontend::ProbeStatistics() {
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return {"none", "none", "none", "none"};
  return ProbeStatisticsOn(*m_calls, m_fd.Get());
}

void Frontend::Close() {
  std::lock_guard lock(m_mutex);
  if (!m_fd.IsOpen()) return;
  m_search.Settle();
  // Leave the LNB and whatever hangs on the cable unpowered and quiet.
  if (m_toneControl)
    if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_SET_TONE, SEC_TONE_OFF); !r.Ok() && !IsNotSupported(r.Errno()))
      Report(r.Error(), "turning the tone off");
  if (m_voltageControl)
    if (const CallResult r = m_calls->Ioctl(m_fd.Get(), FE_SET_VOLTAGE, SEC_VOLTAGE_OFF);
        !r.Ok() && !IsNotSupported(r.Errno()))
      Report(r.Error(), "turning the LNB voltage off");
  m_sec = {LnbVoltage::Off, Tone::Off};
  m_fd.Reset();
  Log("closed");
}

}  // namespace linuxdvb
