// The pure parts of the Linux DVB backend: the SEC order, what a tune
// request means for the frontend, the statistics scales and the media
// information built from the tuned parameters.
#include <gtest/gtest.h>

#include "platform/linuxdvb/media_info_derivation.h"
#include "platform/linuxdvb/sec_plan.h"
#include "platform/linuxdvb/signal_scale.h"
#include "platform/linuxdvb/tune_plan.h"
#include "platform/linuxdvb/tune_search.h"
#include "platform/media/pls_code.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"

namespace linuxdvb {
namespace {

TEST(SecPlan, TargetVoltageToneOffPauseMessagePauseBurstPauseToneAndNothingThatChangesNothing) {
  const SecPauses pauses{15, 20};
  const SecState unknown;
  const SecState high18{LnbVoltage::V18, Tone::On};
  const SecState low13{LnbVoltage::V13, Tone::Off};
  const struct {
    const char* name;
    SecState now;
    SecRequest want;
    const char* steps;
  } cases[] = {
      {"switch from nothing known", unknown, {LnbVoltage::V18, Tone::On, {0xE0, 0x10, 0x38, 0xF3}, {}},
       "18 V, tone off, 15 ms, DiSEqC E0 10 38 F3, 20 ms, tone on"},
      {"switch, low band, voltage as it is", low13, {LnbVoltage::V13, Tone::Off, {0xE0, 0x10, 0x38, 0xF4}, {}},
       "15 ms, DiSEqC E0 10 38 F4, 20 ms"},
      {"burst after the message", low13, {LnbVoltage::V18, Tone::On, {0xE0, 0x10, 0x38, 0xF3}, Burst::B},
       "18 V, 15 ms, DiSEqC E0 10 38 F3, 20 ms, burst B, 20 ms, tone on"},
      {"burst alone, tone on before", high18, {LnbVoltage::V18, Tone::On, {}, Burst::A},
       "tone off, 15 ms, burst A, 20 ms, tone on"},
      {"tune, new voltage: the LNB settles", low13, {LnbVoltage::V18, Tone::On, {}, {}}, "18 V, 15 ms, tone on"},
      {"tune, only the band", high18, {LnbVoltage::V18, Tone::Off, {}, {}}, "tone off"},
      {"tune, nothing changes", high18, {LnbVoltage::V18, Tone::On, {}, {}}, "nothing to change"},
  };
  for (const auto& c : cases) EXPECT_EQ(DescribeSec(PlanSec(c.now, c.want, pauses)), c.steps) << c.name;

  // A committed-switch write says which supply it selects; other messages do not.
  const auto supply = CommittedSwitchSupply({0xE0, 0x10, 0x38, 0xF2});
  ASSERT_TRUE(supply);
  EXPECT_EQ(supply->voltage, LnbVoltage::V18);
  EXPECT_EQ(supply->tone, Tone::Off);
  EXPECT_EQ(CommittedSwitchSupply({0xE1, 0x10, 0x38, 0xF5})->voltage, LnbVoltage::V13);
  EXPECT_EQ(CommittedSwitchSupply({0xE1, 0x10, 0x38, 0xF5})->tone, Tone::On);
  EXPECT_FALSE(CommittedSwitchSupply({0xE0, 0x31, 0x6B, 0x05}));
  EXPECT_FALSE(CommittedSwitchSupply({0xE0, 0x10, 0x38, 0xC3})) << "leaves band and polarisation";
  EXPECT_FALSE(CommittedSwitchSupply({0xE0, 0x10, 0x39, 0xF3})) << "an uncommitted switch";
}

DvbsTuneParameters Request(LONG carrier, LONG low, LONG high, LONG chosen, Polarisation pol, LNBBand band,
                           LONG srKs = 27500) {
  DvbsTuneParameters p{carrier, low, high, chosen, pol, srKs, BDA_SPECTRAL_INVERSION_NOT_SET};
  p.band = band;
  return p;
}

// The tone is the application's band, never the oscillator's identity: a
// single-oscillator LNB (low = high) gets the tone only for the high band.
TEST(TunePlan, VoltageFromPolarisationToneFromTheBandIfFromTheBandsOscillator) {
  const struct {
    const char* name;
    DvbsTuneParameters request;
    LnbVoltage voltage;
    Tone tone;
    std::uint32_t ifKHz;
    bool inverted;
  } cases[] = {
      {"universal 11700: high band", Request(11700000, 9750000, 10600000, 10600000, BDA_POLARISATION_LINEAR_H, BDA_LNB_BAND_HIGH),
       LnbVoltage::V18, Tone::On, 1100000, false},
      {"universal 11699: low band", Request(11699000, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_V, BDA_LNB_BAND_LOW),
       LnbVoltage::V13, Tone::Off, 1949000, false},
      {"C band 5150/5150: no tone, inverted", Request(3700000, 5150000, 5150000, 5150000, BDA_POLARISATION_CIRCULAR_R, BDA_LNB_BAND_LOW),
       LnbVoltage::V13, Tone::Off, 1450000, true},
      {"11300/11300: no tone", Request(12300000, 11300000, 11300000, 11300000, BDA_POLARISATION_LINEAR_H, BDA_LNB_BAND_LOW),
       LnbVoltage::V18, Tone::Off, 1000000, false},
      {"10750/10750 high band: tone, circular left is 18 V", Request(12000000, 10750000, 10750000, 10750000, BDA_POLARISATION_CIRCULAR_L, BDA_LNB_BAND_HIGH),
       LnbVoltage::V18, Tone::On, 1250000, false},
      {"a request without a band, single oscillator: no tone", Request(3800000, 5150000, 5150000, 5150000, BDA_POLARISATION_LINEAR_V, BDA_LNB_BAND_NOT_SET),
       LnbVoltage::V13, Tone::Off, 1350000, true},
  };
  for (const auto& c : cases) {
    std::string reason;
    const auto target = PlanTune(c.request, &reason);
    ASSERT_TRUE(target) << c.name << ": " << reason;
    EXPECT_EQ(target->voltage, c.voltage) << c.name;
    EXPECT_EQ(target->tone, c.tone) << c.name;
    EXPECT_EQ(target->ifKHz, c.ifKHz) << c.name;
    EXPECT_EQ(target->spectrumInverted, c.inverted) << c.name;
    EXPECT_EQ(target->symbolRate, 27500000u) << c.name;
  }
}

TEST(TunePlan, RefusesWhatTheFrontendCannotBeGiven) {
  for (const auto& request : {Request(11362000, 9750000, 10600000, 0, BDA_POLARISATION_LINEAR_H, BDA_LNB_BAND_LOW),
                              Request(11362000, 9750000, 10600000, 9750000, BDA_POLARISATION_NOT_SET, BDA_LNB_BAND_LOW),
                              Request(0, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_H, BDA_LNB_BAND_LOW),
                              Request(11362000, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_H, BDA_LNB_BAND_LOW, 0)}) {
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

TEST(TunePlan, AnAttemptsPropertiesFromClearToTune) {
  TuneTarget target{LnbVoltage::V18, Tone::On, 1100000, 27500000, BDA_SPECTRAL_INVERSION_NOT_SET, false, {}};
  const TuneAttempt s2{SYS_DVBS2, PSK_8, FEC_2_3, ROLLOFF_20, PILOT_AUTO};
  const auto list = TuneProperties(target, s2, FE_CAN_INVERSION_AUTO, {7, 1234});
  EXPECT_EQ(list.front().cmd, static_cast<std::uint32_t>(DTV_CLEAR));
  EXPECT_EQ(list.back().cmd, static_cast<std::uint32_t>(DTV_TUNE));
  auto p = AsMap(list);
  EXPECT_EQ(p[DTV_DELIVERY_SYSTEM], static_cast<std::uint32_t>(SYS_DVBS2));
  EXPECT_EQ(p[DTV_FREQUENCY], 1100000u);
  EXPECT_EQ(p[DTV_SYMBOL_RATE], 27500000u);
  EXPECT_EQ(p[DTV_MODULATION], static_cast<std::uint32_t>(PSK_8));
  EXPECT_EQ(p[DTV_INNER_FEC], static_cast<std::uint32_t>(FEC_2_3));
  EXPECT_EQ(p[DTV_ROLLOFF], static_cast<std::uint32_t>(ROLLOFF_20));
  EXPECT_EQ(p[DTV_PILOT], static_cast<std::uint32_t>(PILOT_AUTO));
  EXPECT_EQ(p[DTV_INVERSION], static_cast<std::uint32_t>(INVERSION_AUTO));
  EXPECT_EQ(p[DTV_STREAM_ID], 7u);
  EXPECT_EQ(p[DTV_SCRAMBLING_SEQUENCE_INDEX], 1234u);
  p = AsMap(TuneProperties(target, s2, 0, {}));
  EXPECT_EQ(p[DTV_STREAM_ID], NO_STREAM_ID_FILTER);
  EXPECT_EQ(p.count(DTV_SCRAMBLING_SEQUENCE_INDEX), 0u);
  EXPECT_EQ(p[DTV_INVERSION], static_cast<std::uint32_t>(INVERSION_OFF)) << "no AUTO offered: what the LNB does";
  target.spectrumInverted = true;
  EXPECT_EQ(AsMap(TuneProperties(target, s2, 0, {}))[DTV_INVERSION], static_cast<std::uint32_t>(INVERSION_ON));

  p = AsMap(TuneProperties(target, {SYS_DVBS, QPSK, FEC_AUTO, ROLLOFF_35, PILOT_AUTO}, FE_CAN_INVERSION_AUTO, {7, 1234}));
  EXPECT_EQ(p[DTV_DELIVERY_SYSTEM], static_cast<std::uint32_t>(SYS_DVBS));
  EXPECT_EQ(p[DTV_MODULATION], static_cast<std::uint32_t>(QPSK));
  EXPECT_EQ(p[DTV_ROLLOFF], static_cast<std::uint32_t>(ROLLOFF_35));
  EXPECT_EQ(p.count(DTV_STREAM_ID), 0u) << "DVB-S has no input streams";
  EXPECT_EQ(p.count(DTV_PILOT), 0u);
}

std::vector<std::string> Described(const std::vector<TuneAttempt>& attempts, std::size_t count) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < attempts.size() && i < count; ++i) texts.push_back(DescribeAttempt(attempts[i]));
  return texts;
}

TEST(TuneSearchPlan, TheCapabilityBitsDecideWhatIsLeftToTheDemodulator) {
  const std::uint32_t cx24116 = ProfileNamed("cx24116").caps;
  auto attempts = PlanSearch(cx24116, {SYS_DVBS, SYS_DVBS2}, std::nullopt);
  EXPECT_EQ(Described(attempts, 4), std::vector<std::string>({"DVB-S2 QPSK FEC auto roll-off 0.35 pilots auto",
                                                              "DVB-S QPSK FEC auto roll-off 0.35",
                                                              "DVB-S2 QPSK FEC auto roll-off 0.25 pilots auto",
                                                              "DVB-S2 QPSK FEC auto roll-off 0.20 pilots auto"}));
  // Then every QPSK and 8PSK code rate with each roll-off.
  const auto explicitRates = std::count_if(attempts.begin(), attempts.end(),
                                           [](const TuneAttempt& a) { return a.system == SYS_DVBS2 && a.fec != FEC_AUTO; });
  EXPECT_EQ(explicitRates, (8 + 6) * 3);
  EXPECT_EQ(attempts.size(), 2u + 11u + (8 + 6) * 3);

  // Modulation AUTO where offered; no FEC AUTO: explicit rates everywhere, APSK too.
  attempts = PlanSearch(FE_CAN_QAM_AUTO | FE_CAN_2G_MODULATION | FE_CAN_FEC_1_2 | FE_CAN_FEC_3_4, {SYS_DVBS, SYS_DVBS2},
                        std::nullopt);
  EXPECT_EQ(Described(attempts, 2), std::vector<std::string>({"DVB-S QPSK FEC 1/2 roll-off 0.35",
                                                              "DVB-S QPSK FEC 3/4 roll-off 0.35"}));
  EXPECT_EQ(attempts.size(), 2u + (8 + 6 + 6 + 5) * 3);

  // The remembered parameters come first, once.
  const TuneAttempt remembered{SYS_DVBS, QPSK, FEC_AUTO, ROLLOFF_35, PILOT_AUTO};
  attempts = PlanSearch(cx24116, {SYS_DVBS, SYS_DVBS2}, remembered);
  EXPECT_EQ(attempts.front(), remembered);
  EXPECT_EQ(std::count(attempts.begin(), attempts.end(), remembered), 1);
  EXPECT_EQ(PlanSearch(cx24116, {SYS_DVBS}, std::nullopt).size(), 1u) << "a DVB-S frontend";

  // Every attempt reads back from its description (the memory's format).
  for (const TuneAttempt& a : PlanSearch(cx24116, {SYS_DVBS, SYS_DVBS2}, std::nullopt))
    EXPECT_EQ(ParseAttempt(DescribeAttempt(a)), a) << DescribeAttempt(a);
  EXPECT_FALSE(ParseAttempt("DVB-S2 8PSK FEC 2/3 roll-off 0.20"));
  EXPECT_FALSE(ParseAttempt("DVB-S2 8PSK FEC 7/9 roll-off 0.20 pilots on"));
}

// Each attempt's wait covers the slowest driver modelled, at every rate.
TEST(TuneSearchPlan, TheAcquisitionTimeCoversEveryDriversSearch) {
  for (const std::uint32_t rate : {1'000'000u, 1'500'000u, 2'000'000u, 4'000'000u, 5'000'000u, 7'500'000u, 10'000'000u,
                                   22'000'000u, 45'000'000u}) {
    for (const DriverProfile& profile : SatelliteProfiles())
      EXPECT_GE(AcquisitionMs(rate), profile.acquisitionMs(rate)) << profile.key << " at " << rate;
  }
  EXPECT_EQ(AcquisitionMs(1'000'000), 6500u);
  EXPECT_EQ(AcquisitionMs(27'500'000), 1500u);
}

TEST(TuneSearchPlan, TheSearchWaitsEachAttemptsTimeSettlesOnLockAndRunsOut) {
  TuneSearch search;
  search.Start({{SYS_DVBS2}, {SYS_DVBS}}, 1500, 1000);
  EXPECT_TRUE(search.IsSearching());
  EXPECT_EQ(search.Advance(false, 2499), nullptr);
  const TuneAttempt* next = search.Advance(false, 2500);
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->system, SYS_DVBS);
  EXPECT_EQ(search.Number(), 2u);
  EXPECT_EQ(search.Advance(false, 4000), nullptr);
  EXPECT_TRUE(search.IsExhausted());
  EXPECT_FALSE(search.IsSearching());

  search.Start({{SYS_DVBS2}, {SYS_DVBS}}, 1500, 0);
  EXPECT_EQ(search.Advance(true, 100), nullptr);
  EXPECT_FALSE(search.IsSearching()) << "a lock settles it";
  EXPECT_EQ(search.Advance(false, 9000), nullptr);
  EXPECT_EQ(search.Current()->system, SYS_DVBS2);
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

// EN 302 307: x(i+18) = x(i+7) + x(i); Gold code n is the register after n
// steps from x(0) = 1.
TEST(PlsCode, GoldAndRootAreTheScramblingRegisterAfterNSteps) {
  const struct {
    std::uint32_t gold, root;
  } cases[] = {{0, 1}, {1, 131072}, {2, 65536}, {7, 2048}, {8, 1024}};
  for (const auto& c : cases) {
    EXPECT_EQ(dvb::PlsGoldToRoot(c.gold), c.root) << c.gold;
    EXPECT_EQ(dvb::PlsRootToGold(c.root), c.gold) << c.root;
  }
  for (const std::uint32_t gold : {12345u, 131071u, dvb::kMaxPlsGold})
    EXPECT_EQ(dvb::PlsRootToGold(dvb::PlsGoldToRoot(gold)), gold);
  EXPECT_FALSE(dvb::PlsRootToGold(0)) << "the all-zero register never comes";
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
      // The kernel hands back the id written: it tells nothing of the carrier.
      {"S2 with stream id 10 written", {SYS_DVBS2, APSK_16, FEC_3_4, ROLLOFF_20, PILOT_ON, INVERSION_OFF, 1, 1, 10},
       1, 2, 19, 8, 2, 0xF2, 0, 1, 1, 0},
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
