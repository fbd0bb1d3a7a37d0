#include "platform/linuxdvb/tune_plan.h"

#include <array>
#include <cstdlib>
#include <sstream>
#include <utility>

namespace linuxdvb {
namespace {

dtv_property Property(std::uint32_t cmd, std::uint32_t value) {
  dtv_property p{};
  p.cmd = cmd;
  p.u.data = value;
  return p;
}

std::optional<LnbVoltage> VoltageFor(Polarisation polarisation) {
  switch (polarisation) {
    case BDA_POLARISATION_LINEAR_H:
    case BDA_POLARISATION_CIRCULAR_L: return LnbVoltage::V18;
    case BDA_POLARISATION_LINEAR_V:
    case BDA_POLARISATION_CIRCULAR_R: return LnbVoltage::V13;
    default: return std::nullopt;
  }
}

template <typename T>
using NameTable = std::initializer_list<std::pair<T, const char*>>;

const NameTable<fe_modulation> kModulations{{QPSK, "QPSK"}, {PSK_8, "8PSK"}, {APSK_16, "16APSK"},
                                            {APSK_32, "32APSK"}, {QAM_AUTO, "auto"}};
const NameTable<fe_code_rate> kCodeRates{{FEC_2_5, "2/5"}, {FEC_1_2, "1/2"},
                                         {FEC_3_5, "3/5"}, {FEC_2_3, "2/3"}, {FEC_3_4, "3/4"}, {FEC_4_5, "4/5"},
                                         {FEC_5_6, "5/6"}, {FEC_6_7, "6/7"}, {FEC_7_8, "7/8"}, {FEC_8_9, "8/9"},
                                         {FEC_9_10, "9/10"}, {FEC_AUTO, "auto"}, {FEC_NONE, "none"}};
const NameTable<fe_rolloff> kRollOffs{{ROLLOFF_35, "0.35"}, {ROLLOFF_25, "0.25"}, {ROLLOFF_20, "0.20"},
                                      {ROLLOFF_AUTO, "auto"}};
const NameTable<fe_pilot> kPilots{{PILOT_ON, "on"}, {PILOT_OFF, "off"}, {PILOT_AUTO, "auto"}};
const NameTable<fe_delivery_system> kSystems{{SYS_DVBS, "DVB-S"}, {SYS_DVBS2, "DVB-S2"}};

template <typename T>
std::string NameOf(const NameTable<T>& table, std::uint32_t value) {
  for (const auto& [v, name] : table)
    if (static_cast<std::uint32_t>(v) == value) return name;
  return "?";
}

template <typename T>
std::optional<T> ValueOf(const NameTable<T>& table, const std::string& name) {
  for (const auto& [v, n] : table)
    if (name == n) return v;
  return std::nullopt;
}

// DVB-S2 code rates of each modulation (EN 302 307 MODCODs; the rare QPSK
// 1/4 to 2/5 left out of the search).
const std::vector<fe_code_rate>& Dvbs2Rates(fe_modulation modulation) {
  static const std::vector<fe_code_rate> qpsk{FEC_1_2, FEC_3_5, FEC_2_3, FEC_3_4, FEC_4_5, FEC_5_6, FEC_8_9, FEC_9_10};
  static const std::vector<fe_code_rate> psk8{FEC_3_5, FEC_2_3, FEC_3_4, FEC_5_6, FEC_8_9, FEC_9_10};
  static const std::vector<fe_code_rate> apsk16{FEC_2_3, FEC_3_4, FEC_4_5, FEC_5_6, FEC_8_9, FEC_9_10};
  static const std::vector<fe_code_rate> apsk32{FEC_3_4, FEC_4_5, FEC_5_6, FEC_8_9, FEC_9_10};
  switch (modulation) {
    case PSK_8: return psk8;
    case APSK_16: return apsk16;
    case APSK_32: return apsk32;
    default: return qpsk;
  }
}

// DVB-S code rates with their capability bits.
constexpr std::array<std::pair<fe_code_rate, std::uint32_t>, 5> kDvbsRates{{
    {FEC_1_2, FE_CAN_FEC_1_2}, {FEC_2_3, FE_CAN_FEC_2_3}, {FEC_3_4, FE_CAN_FEC_3_4},
    {FEC_5_6, FE_CAN_FEC_5_6}, {FEC_7_8, FE_CAN_FEC_7_8}}};

constexpr fe_rolloff kRollOffOrder[] = {ROLLOFF_35, ROLLOFF_25, ROLLOFF_20};

bool Has(const std::vector<std::uint32_t>& systems, std::uint32_t system) {
  for (const std::uint32_t s : systems)
    if (s == system) return true;
  return false;
}

}  // namespace

std::optional<TuneTarget> PlanTune(const DvbsTuneParameters& request, std::string* reason) {
  const auto voltage = VoltageFor(request.polarisation);
  if (!voltage) {
    *reason = "the request has no polarisation";
    return std::nullopt;
  }
  if (request.carrierFrequencyKHz <= 0 || request.symbolRate <= 0) {
    *reason = "frequency and symbol rate must be positive";
    return std::nullopt;
  }
  if (request.lnbSwitchKHz <= 0) {
    *reason = "no LNB oscillator brings " + std::to_string(request.carrierFrequencyKHz) +
              " kHz into the tuner's range";
    return std::nullopt;
  }
  TuneTarget target;
  target.voltage = *voltage;
  target.tone = WantsHighBand(request) ? Tone::On : Tone::Off;
  target.ifKHz = static_cast<std::uint32_t>(std::llabs(static_cast<long long>(request.carrierFrequencyKHz) -
                                                       request.lnbSwitchKHz));
  target.symbolRate = static_cast<std::uint32_t>(request.symbolRate) * 1000u;
  target.inversion = request.inversion;
  target.spectrumInverted = request.lnbSwitchKHz > request.carrierFrequencyKHz;
  if (request.burst == BDA_TONE_BURST_A) target.burst = Burst::A;
  if (request.burst == BDA_TONE_BURST_B) target.burst = Burst::B;
  return target;
}

std::vector<TuneAttempt> PlanSearch(std::uint32_t caps, const std::vector<std::uint32_t>& systems,
                                    const std::optional<TuneAttempt>& remembered) {
  std::vector<TuneAttempt> attempts;
  const auto add = [&](const TuneAttempt& attempt) {
    for (const TuneAttempt& a : attempts)
      if (a == attempt) return;
    attempts.push_back(attempt);
  };
  if (remembered) add(*remembered);

  const bool s2 = Has(systems, SYS_DVBS2);
  const bool fecAuto = caps & FE_CAN_FEC_AUTO;
  const bool modulationAuto = caps & FE_CAN_QAM_AUTO;
  std::vector<fe_modulation> modulations{QPSK, PSK_8};
  if (caps & FE_CAN_2G_MODULATION) modulations.insert(modulations.end(), {APSK_16, APSK_32});
  if (modulationAuto) modulations = {QAM_AUTO};

  if (s2 && fecAuto) add({SYS_DVBS2, modulations.front(), FEC_AUTO, ROLLOFF_35, PILOT_AUTO});
  if (Has(systems, SYS_DVBS)) {
    if (fecAuto) {
      add({SYS_DVBS, QPSK, FEC_AUTO, ROLLOFF_35, PILOT_AUTO});
    } else {
      for (const auto& [rate, bit] : kDvbsRates)
        if (caps & bit) add({SYS_DVBS, QPSK, rate, ROLLOFF_35, PILOT_AUTO});
    }
  }
  if (!s2) return attempts;
  if (fecAuto)
    for (const fe_modulation modulation : modulations)
      for (const fe_rolloff rolloff : kRollOffOrder) add({SYS_DVBS2, modulation, FEC_AUTO, rolloff, PILOT_AUTO});
  for (const fe_modulation modulation : {QPSK, PSK_8, APSK_16, APSK_32}) {
    const bool apsk = modulation == APSK_16 || modulation == APSK_32;
    if (apsk && (fecAuto || !(caps & FE_CAN_2G_MODULATION))) continue;
    for (const fe_rolloff rolloff : kRollOffOrder)
      for (const fe_code_rate rate : Dvbs2Rates(modulation)) add({SYS_DVBS2, modulation, rate, rolloff, PILOT_AUTO});
  }
  return attempts;
}

std::uint32_t AcquisitionMs(std::uint32_t symbolRate) {
  if (symbolRate <= 1'000'000) return 6500;
  if (symbolRate <= 2'000'000) return 4000;
  if (symbolRate <= 5'000'000) return 2000;
  return 1500;
}

std::vector<dtv_property> TuneProperties(const TuneTarget& target, const TuneAttempt& attempt, std::uint32_t caps,
                                         const StreamSelection& selection) {
  fe_spectral_inversion inversion = target.spectrumInverted ? INVERSION_ON : INVERSION_OFF;
  if (target.inversion == BDA_SPECTRAL_INVERSION_NORMAL) inversion = INVERSION_OFF;
  else if (target.inversion == BDA_SPECTRAL_INVERSION_INVERTED) inversion = INVERSION_ON;
  else if (caps & FE_CAN_INVERSION_AUTO) inversion = INVERSION_AUTO;

  const bool s2 = attempt.system == SYS_DVBS2;
  std::vector<dtv_property> list{
      Property(DTV_CLEAR, 0),
      Property(DTV_DELIVERY_SYSTEM, attempt.system),
      Property(DTV_FREQUENCY, target.ifKHz),
      Property(DTV_SYMBOL_RATE, target.symbolRate),
      Property(DTV_INNER_FEC, attempt.fec),
      Property(DTV_INVERSION, inversion),
      Property(DTV_MODULATION, s2 ? attempt.modulation : QPSK),
      Property(DTV_ROLLOFF, s2 ? attempt.rolloff : ROLLOFF_35),
  };
  if (s2) {
    list.push_back(Property(DTV_PILOT, attempt.pilot));
    list.push_back(Property(DTV_STREAM_ID, selection.isi.value_or(NO_STREAM_ID_FILTER)));
    if (selection.plsGold) list.push_back(Property(DTV_SCRAMBLING_SEQUENCE_INDEX, *selection.plsGold));
  }
  list.push_back(Property(DTV_TUNE, 0));
  return list;
}

std::string ModulationName(std::uint32_t modulation) { return NameOf(kModulations, modulation); }
std::string CodeRateName(std::uint32_t fec) { return NameOf(kCodeRates, fec); }
std::string RollOffName(std::uint32_t rolloff) { return NameOf(kRollOffs, rolloff); }

std::string DescribeAttempt(const TuneAttempt& attempt) {
  std::string text = NameOf(kSystems, attempt.system) + " " + ModulationName(attempt.modulation) + " FEC " +
                     CodeRateName(attempt.fec) + " roll-off " + RollOffName(attempt.rolloff);
  if (attempt.system == SYS_DVBS2) text += " pilots " + NameOf(kPilots, attempt.pilot);
  return text;
}

std::optional<TuneAttempt> ParseAttempt(const std::string& text) {
  std::istringstream in(text);
  std::string system, modulation, fecWord, fec, rolloffWord, rolloff, pilotsWord, pilot;
  if (!(in >> system >> modulation >> fecWord >> fec >> rolloffWord >> rolloff) || fecWord != "FEC" ||
      rolloffWord != "roll-off")
    return std::nullopt;
  TuneAttempt attempt;
  const auto s = ValueOf(kSystems, system);
  const auto m = ValueOf(kModulations, modulation);
  const auto f = ValueOf(kCodeRates, fec);
  const auto r = ValueOf(kRollOffs, rolloff);
  if (!s || !m || !f || !r) return std::nullopt;
  attempt.system = *s;
  attempt.modulation = *m;
  attempt.fec = *f;
  attempt.rolloff = *r;
  if (attempt.system == SYS_DVBS2) {
    const auto p = (in >> pilotsWord >> pilot) && pilotsWord == "pilots" ? ValueOf(kPilots, pilot) : std::nullopt;
    if (!p) return std::nullopt;
    attempt.pilot = *p;
  }
  std::string rest;
  if (in >> rest) return std::nullopt;
  return attempt;
}

}  // namespace linuxdvb
