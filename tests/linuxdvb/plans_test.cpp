// The pure parts of the Linux DVB backend: the SEC order, what a tune
// request means for the frontend, the statistics scales and the media
// information built from the tuned parameters.
#include <gtest/gtest.h>

#include "platform/linuxdvb/media_info_derivation.h"
#include "platform/linuxdvb/sec_plan.h"
#include "platform/linuxdvb/signal_scale.h"
#include "platform/linuxdvb/tune_plan.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"

namespace linuxdvb {
namespace {

TEST(SecPlan, VoltageThenToneOffThenPauseMessagePauseThenTheToneTheBandNeeds) {
  const SecPauses pauses{15, 20};
  const struct {
    const char* name;
    LnbVoltage voltage;
    Tone tone;
    std::vector<std::uint8_t> message;
    const char* steps;
  } cases[] = {
      {"switch, high band", LnbVoltage::V18, Tone::On, {0xE0, 0x10, 0x38, 0xF3},
       "18 V, tone off, 15 ms, DiSEqC E0 10 38 F3, 20 ms, tone on"},
      {"switch, low band", LnbVoltage::V13, Tone::Off, {0xE0, 0x10, 0x38, 0xF4},
       "13 V, tone off, 15 ms, DiSEqC E0 10 38 F4, 20 ms"},
      {"tune, high band", LnbVoltage::V13, Tone::On, {}, "13 V, tone off, 15 ms, tone on"},
      {"tune, low band", LnbVoltage::V18, Tone::Off, {}, "18 V, tone off, 15 ms"},
  };
  for (const auto& c : cases) {
    const auto steps = PlanSec(c.voltage, c.tone, c.message, pauses);
    EXPECT_EQ(DescribeSec(steps), c.steps) << c.name;
    EXPECT_EQ(steps.front().kind, SecStep::Kind::SetVoltage) << c.name;
  }
}

DvbsTuneParameters Request(LONG carrier, LONG low, LONG high, LONG chosen, Polarisation pol, LONG srKs = 27500) {
  return {carrier, low, high, chosen, pol, srKs, BDA_SPECTRAL_INVERSION_NOT_SET};
}

TEST(TunePlan, VoltageFromPolarisationToneFromTheChosenOscillatorIfAndSymbolRate) {
  const struct {
    const char* name;
    DvbsTuneParameters request;
    LnbVoltage voltage;
    Tone tone;
    std::uint32_t ifKHz;
  } cases[] = {
      {"high band, horizontal", Request(11700000, 9750000, 10600000, 10600000, BDA_POLARISATION_LINEAR_H), LnbVoltage::V18,
       Tone::On, 1100000},
      {"low band, vertical", Request(11362000, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_V), LnbVoltage::V13,
       Tone::Off, 1612000},
      {"C band: oscillator above the downlink", Request(3700000, 5150000, 5150000, 5150000, BDA_POLARISATION_CIRCULAR_R),
       LnbVoltage::V13, Tone::On, 1450000},
      {"circular left is 18 V", Request(12000000, 10750000, 10750000, 10750000, BDA_POLARISATION_CIRCULAR_L),
       LnbVoltage::V18, Tone::On, 1250000},
  };
  for (const auto& c : cases) {
    std::string reason;
    const auto target = PlanTune(c.request, &reason);
    ASSERT_TRUE(target) << c.name << ": " << reason;
    EXPECT_EQ(target->voltage, c.voltage) << c.name;
    EXPECT_EQ(target->tone, c.tone) << c.name;
    EXPECT_EQ(target->ifKHz, c.ifKHz) << c.name;
    EXPECT_EQ(target->symbolRate, 27500000u) << c.name;
  }
}

TEST(TunePlan, RefusesWhatTheFrontendCannotBeGiven) {
  for (const auto& request : {Request(11362000, 9750000, 10600000, 0, BDA_POLARISATION_LINEAR_H),
                              Request(11362000, 9750000, 10600000, 9750000, BDA_POLARISATION_NOT_SET),
                              Request(0, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_H),
                              Request(11362000, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_H, 0)}) {
    std::string reason;
    EXPECT_FALSE(PlanTune(request, &reason));
    EXPECT_FALSE(reason.empty());
  }
}

std::map<std::uint32_t, std::uint32_t> AsMap(const std::vector<dtv_property>& list) {
  std::map<std::uint32_t, std::uint32_t> map;
  for (const auto& p : list) map[p.cmd] = p.u.data;
  return map;
}

TEST(TunePlan, Dvbs2LeavesModulationAndFecToTheDemodulatorDvbsIsQpsk) {
  const TuneTarget target{LnbVoltage::V18, Tone::On, 1100000, 27500000, INVERSION_AUTO};
  const auto s2 = TuneProperties(target, SYS_DVBS2, 7);
  EXPECT_EQ(s2.front().cmd, static_cast<std::uint32_t>(DTV_CLEAR));
  EXPECT_EQ(s2.back().cmd, static_cast<std::uint32_t>(DTV_TUNE));
  auto p = AsMap(s2);
  EXPECT_EQ(p[DTV_DELIVERY_SYSTEM], static_cast<std::uint32_t>(SYS_DVBS2));
  EXPECT_EQ(p[DTV_FREQUENCY], 1100000u);
  EXPECT_EQ(p[DTV_SYMBOL_RATE], 27500000u);
  EXPECT_EQ(p[DTV_MODULATION], static_cast<std::uint32_t>(QAM_AUTO));
  EXPECT_EQ(p[DTV_INNER_FEC], static_cast<std::uint32_t>(FEC_AUTO));
  EXPECT_EQ(p[DTV_ROLLOFF], static_cast<std::uint32_t>(ROLLOFF_AUTO));
  EXPECT_EQ(p[DTV_PILOT], static_cast<std::uint32_t>(PILOT_AUTO));
  EXPECT_EQ(p[DTV_STREAM_ID], 7u);
  EXPECT_EQ(AsMap(TuneProperties(target, SYS_DVBS2, std::nullopt))[DTV_STREAM_ID], NO_STREAM_ID_FILTER);

  p = AsMap(TuneProperties(target, SYS_DVBS, 7));
  EXPECT_EQ(p[DTV_DELIVERY_SYSTEM], static_cast<std::uint32_t>(SYS_DVBS));
  EXPECT_EQ(p[DTV_MODULATION], static_cast<std::uint32_t>(QPSK));
  EXPECT_EQ(p[DTV_ROLLOFF], static_cast<std::uint32_t>(ROLLOFF_35));
  EXPECT_EQ(p.count(DTV_STREAM_ID), 0u) << "DVB-S has no input streams";
}

TEST(SignalScale, EachScaleMapsToTheStripsRange) {
  const struct {
    const char* name;
    dtv_fe_stats stats;
    std::optional<int> strength, cnr;
  } cases[] = {
      {"decibel: -75 dBm / 0 dB", Stat(FE_SCALE_DECIBEL, -75000), 0, 0},
      {"decibel: -50 dBm / -50 dB", Stat(FE_SCALE_DECIBEL, -50000), 50, 0},
      {"decibel: -25 dBm and above / 20 dB and above", Stat(FE_SCALE_DECIBEL, 25000), 100, 100},
      {"decibel: 12.5 dB C/N", Stat(FE_SCALE_DECIBEL, 12500), 100, 63},
      {"decibel: far below", Stat(FE_SCALE_DECIBEL, -120000), 0, 0},
      {"relative: full", Stat(FE_SCALE_RELATIVE, 65535), 100, 100},
      {"relative: half", Stat(FE_SCALE_RELATIVE, 32768), 50, 50},
      {"relative: above the scale", Stat(FE_SCALE_RELATIVE, 200000), 100, 100},
      {"not available", Stat(FE_SCALE_NOT_AVAILABLE, 0), std::nullopt, std::nullopt},
      {"a counter is no level", Stat(FE_SCALE_COUNTER, 5), std::nullopt, std::nullopt},
      {"no entry", dtv_fe_stats{}, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StrengthPercent(c.stats), c.strength) << c.name;
    EXPECT_EQ(CarrierToNoisePercent(c.stats), c.cnr) << c.name;
  }
  EXPECT_EQ(LegacyPercent(0), 0);
  EXPECT_EQ(LegacyPercent(65535), 100);
  EXPECT_EQ(LegacyPercent(19661), 30);
}

TEST(MediaInfoDerivation, MatypeAndFieldsFromTheTunedParameters) {
  const std::uint32_t none = NO_STREAM_ID_FILTER;
  const struct {
    const char* name;
    TunedParameters tuned;
    std::uint32_t standard, modulation, modcod, dvbsCodeRate, rollOff, matype1, matype2, single, pilots;
    std::int32_t isi;
  } cases[] = {
      {"S2 8PSK 2/3 0.20 pilots", {SYS_DVBS2, PSK_8, FEC_2_3, ROLLOFF_20, PILOT_ON, INVERSION_OFF, 1612000, 22000000, none},
       1, 1, 13, 8, 2, 0xF2, 0, 1, 1, 0},
      {"S2 QPSK 3/4 0.35", {SYS_DVBS2, QPSK, FEC_3_4, ROLLOFF_35, PILOT_OFF, INVERSION_OFF, 1100000, 27500000, none},
       1, 0, 7, 8, 0, 0xF0, 0, 1, 0, 0},
      {"S2 32APSK 9/10 0.25", {SYS_DVBS2, APSK_32, FEC_9_10, ROLLOFF_25, PILOT_ON, INVERSION_OFF, 1, 1, none},
       1, 3, 28, 8, 1, 0xF1, 0, 1, 1, 0},
      {"S2 multiple streams, stream 10", {SYS_DVBS2, APSK_16, FEC_3_4, ROLLOFF_20, PILOT_ON, INVERSION_OFF, 1, 1, 10},
       1, 2, 19, 8, 2, 0xD2, 10, 0, 1, 10},
      {"S2 with nothing known", {SYS_DVBS2, QAM_AUTO, FEC_AUTO, ROLLOFF_AUTO, PILOT_AUTO, INVERSION_AUTO, 1, 1, none},
       1, 4, 29, 8, 3, 0xF3, 0, 1, 0, 0},
      {"S QPSK 7/8", {SYS_DVBS, QPSK, FEC_7_8, ROLLOFF_35, PILOT_OFF, INVERSION_OFF, 1, 1, none},
       0, 0, 0, 6, 0, 0xF0, 0, 1, 0, 0},
      {"S with an unknown code rate", {SYS_DVBS, QPSK, FEC_AUTO, ROLLOFF_AUTO, PILOT_ON, INVERSION_OFF, 1, 1, none},
       0, 0, 0, 8, 0, 0xF0, 0, 1, 0, 0},
  };
  for (const auto& c : cases) {
    const auto r = DeriveMediaInfo(c.tuned);
    EXPECT_EQ(r.standard, c.standard) << c.name;
    EXPECT_EQ(r.modulation, c.modulation) << c.name;
    EXPECT_EQ(r.modcod, c.modcod) << c.name;
    EXPECT_EQ(r.dvbsCodeRate, c.dvbsCodeRate) << c.name;
    EXPECT_EQ(r.rollOff, c.rollOff) << c.name;
    EXPECT_EQ(r.matype1, c.matype1) << c.name;
    EXPECT_EQ(r.matype2, c.matype2) << c.name;
    EXPECT_EQ(r.singleInputStream, c.single) << c.name;
    EXPECT_EQ(r.pilots, c.pilots) << c.name;
    EXPECT_EQ(r.inputStreamId, c.isi) << c.name;
    EXPECT_EQ(r.streamType, 3u) << c.name;
    EXPECT_EQ(r.constantCodingModulation, 1u) << c.name;
    EXPECT_EQ(r.shortFrame, 0u) << c.name;
  }
  const auto inverted = DeriveMediaInfo({SYS_DVBS2, PSK_8, FEC_2_3, ROLLOFF_20, PILOT_ON, INVERSION_ON, 1612000, 22000000, none});
  EXPECT_EQ(inverted.spectrumInversion, 1u);
  EXPECT_EQ(inverted.intermediateFrequencyKHz, 1612000);
  EXPECT_EQ(inverted.symbolRateBd, 22000000);
}

}  // namespace
}  // namespace linuxdvb
