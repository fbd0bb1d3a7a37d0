#include "tests/linuxdvb/driver_profiles.h"

#include <algorithm>
#include <stdexcept>

namespace {

std::uint16_t Clamp16(double value) { return static_cast<std::uint16_t>(std::clamp(value, 0.0, 65535.0)); }

// cx24116.c: set_frontend takes QPSK or 8PSK and explicit roll-offs only,
// emulates PILOT_AUTO, and its CX24116_MODFEC_MODES table has no FEC_AUTO
// for DVB-S2; one try lasts up to 50 x 10 ms, twice with PILOT_AUTO.
DriverProfile Cx24116() {
  DriverProfile p;
  p.key = "cx24116";
  p.name = "Conexant CX24116/CX24118";
  p.source = "drivers/media/dvb-frontends/cx24116.c";
  p.systems = {SYS_DVBS, SYS_DVBS2};
  p.caps = 0x500006FF;  // INVERSION_AUTO, FEC_1_2..7_8, FEC_AUTO, QPSK, 2G_MODULATION, RECOVER
  p.algo = CoreAlgo::Hardware;
  p.dvbs2.modulations = {QPSK, PSK_8};
  p.dvbs2.codeRates = {{QPSK, FEC_1_2}, {QPSK, FEC_3_5}, {QPSK, FEC_2_3}, {QPSK, FEC_3_4},  {QPSK, FEC_4_5},
                       {QPSK, FEC_5_6}, {QPSK, FEC_8_9}, {QPSK, FEC_9_10}, {PSK_8, FEC_3_5}, {PSK_8, FEC_2_3},
                       {PSK_8, FEC_3_4}, {PSK_8, FEC_5_6}, {PSK_8, FEC_8_9}, {PSK_8, FEC_9_10}};
  p.acquisitionMs = [](std::uint32_t) { return 1000u; };
  p.statistics.legacyStrength = [](double dbm) { return Clamp16((dbm + 100.0) * 655.35); };  // AGC, no stated scale
  p.statistics.legacySnr = [](double cnr) { return Clamp16(cnr * 10.0 >= 0xa0 ? 65535.0 : cnr * 10.0 / 0xa0 * 65535.0); };
  p.statistics.legacyBer = true;
  p.statistics.legacyBlocks = true;
  p.burst = BurstOp::CachesForNextMessage;
  return p;
}

// cx24117.c: QPSK or 8PSK only; FEC, pilots and roll-off AUTO taken (roll-off
// by retuning 0.35, 0.25, 0.20); its modfec table has FEC_AUTO for both
// modulations (val 0, taken here to detect the modulation; not verified).
DriverProfile Cx24117() {
  DriverProfile p = Cx24116();
  p.key = "cx24117";
  p.name = "Conexant CX24117/CX24132";
  p.source = "drivers/media/dvb-frontends/cx24117.c";
  p.dvbs2.fecAuto = true;
  p.dvbs2.rolloffAuto = true;
  p.dvbs2.detectsModulationWithFecAuto = true;
  p.dvbs2.codeRates.insert(p.dvbs2.codeRates.end(), {{QPSK, FEC_AUTO}, {PSK_8, FEC_AUTO}});
  p.acquisitionMs = [](std::uint32_t) { return 1000u; };
  // -100 x the raw AGC reading + 94324, and the raw SNR register: modelled
  // as rising with level and C/N.
  p.statistics.legacyStrength = [](double dbm) { return Clamp16(94324.0 + 500.0 * dbm); };
  p.statistics.legacySnr = [](double cnr) { return Clamp16(cnr * 2048.0); };
  p.reportsTuned = true;
  return p;
}

// stv090x.c (cut 3.0 and later): a cold search that ignores modulation,
// FEC, roll-off and pilots; stv090x_get_lock_tmg's demodulator and FEC
// timeouts by symbol rate; ISI 0..255 filter and Gold-code PLS; no
// set_voltage of its own (boards attach an LNB supply chip that adds one).
DriverProfile Stv090x() {
  DriverProfile p;
  p.key = "stv090x";
  p.name = "STV090x Multistandard";
  p.source = "drivers/media/dvb-frontends/stv090x.c";
  p.systems = {SYS_DVBS, SYS_DVBS2, SYS_DSS};
  p.caps = 0x14000601;  // INVERSION_AUTO, FEC_AUTO, QPSK, 2G_MODULATION, MULTISTREAM (cut >= 3.0)
  p.algo = CoreAlgo::Search;
  p.dvbs2.ignoresParameters = true;
  p.findsEitherSystem = true;
  p.acquisitionMs = [](std::uint32_t sr) -> std::uint32_t {
    if (sr <= 1'000'000) return 4500 + 1700 + 60;
    if (sr <= 2'000'000) return 2500 + 1100 + 60;
    if (sr <= 5'000'000) return 1000 + 550 + 60;
    if (sr <= 10'000'000) return 700 + 250 + 60;
    if (sr <= 20'000'000) return 400 + 130 + 60;
    return 300 + 100 + 60;
  };
  p.isiFilter = true;
  p.pls = PlsInput::ScramblingIndex;
  p.statistics.legacyStrength = [](double dbm) { return Clamp16((std::clamp(dbm, -100.0, 0.0) + 100.0) * 655.35); };
  p.statistics.legacySnr = [](double cnr) { return Clamp16(cnr / 20.0 * 65535.0); };
  p.statistics.legacyBer = true;
  return p;
}

// m88ds3103.c: set_frontend reads none of the DVB-S2 parameters; the core's
// software loop; DVBv5 C/N in 0.001 dB and bit counters, legacy SNR in
// 0.1 dB, no signal strength; DiSEqC messages of 3 to 6 bytes only.
DriverProfile M88ds3103() {
  DriverProfile p;
  p.key = "m88ds3103";
  p.name = "Montage Technology M88DS3103";
  p.source = "drivers/media/dvb-frontends/m88ds3103.c";
  p.systems = {SYS_DVBS, SYS_DVBS2};
  p.caps = 0x500007FF;
  p.algo = CoreAlgo::Software;
  p.dvbs2.ignoresParameters = true;
  p.acquisitionMs = [](std::uint32_t) { return 500u; };
  p.statistics.v5Cnr = true;
  p.statistics.v5BitCounters = true;
  p.statistics.legacySnr = [](double cnr) { return Clamp16(cnr * 10.0); };
  p.statistics.legacyBer = true;
  p.diseqcMinLength = 3;
  p.reportsTuned = true;
  return p;
}

// mxl5xx.c: forces AUTO itself and ignores the stream id; no set_voltage,
// set_tone or burst; its DiSEqC send returns 0 and sends nothing; DVBv5
// statistics only.
DriverProfile Mxl5xx() {
  DriverProfile p;
  p.key = "mxl5xx";
  p.name = "MaxLinear MxL5xx";
  p.source = "drivers/media/dvb-frontends/mxl5xx.c";
  p.systems = {SYS_DVBS, SYS_DVBS2, SYS_DSS};
  p.caps = 0x10000601;
  p.frequencyMinKHz = 300000;
  p.frequencyMaxKHz = 2350000;
  p.algo = CoreAlgo::Hardware;
  p.dvbs2.ignoresParameters = true;
  p.acquisitionMs = [](std::uint32_t) { return 800u; };
  p.pls = PlsInput::ScramblingIndex;
  p.statistics.v5Strength = true;
  p.statistics.v5Cnr = true;
  p.statistics.v5BitCounters = true;
  p.setTone = false;
  p.diseqcReachesBus = false;
  p.burst = BurstOp::Missing;
  p.reportsTuned = true;
  return p;
}

// stid135-fe.c (out of tree): a multistream demodulator that packs ISI,
// PLS code and PLS mode into DTV_STREAM_ID (bits 0-7, 8-25, 26-27) or takes
// the scrambling index; ignores the DVB-S2 parameters; its burst does nothing.
DriverProfile Stid135() {
  DriverProfile p;
  p.key = "stid135";
  p.name = "STiD135";
  p.source = "drivers/media/dvb-frontends/stid135/stid135-fe.c (tbsdtv/linux_media)";
  p.systems = {SYS_DVBS, SYS_DVBS2, SYS_DSS};
  p.caps = 0x14000601;
  p.symbolRateMin = 100000;
  p.symbolRateMax = 520000000;
  p.algo = CoreAlgo::Hardware;
  p.dvbs2.ignoresParameters = true;
  p.findsEitherSystem = true;
  p.acquisitionMs = [](std::uint32_t) { return 1000u; };
  p.isiFilter = true;
  p.pls = PlsInput::ScramblingIndex;
  p.statistics.v5Strength = true;
  p.statistics.v5Cnr = true;
  p.statistics.v5RelativeToo = true;
  p.statistics.v5BitCounters = true;
  p.statistics.legacyStrength = [](double dbm) { return Clamp16((100.0 + dbm) * 656.0); };
  p.statistics.legacySnr = [](double cnr) { return Clamp16(cnr * 10.0 * 328.0); };
  p.statistics.legacyBlocks = true;
  p.burst = BurstOp::DoesNothing;
  p.reportsTuned = true;
  return p;
}

}  // namespace

const std::vector<DriverProfile>& SatelliteProfiles() {
  static const std::vector<DriverProfile> profiles{Cx24116(), Cx24117(), Stv090x(), M88ds3103(), Mxl5xx(), Stid135()};
  return profiles;
}

const DriverProfile& ProfileNamed(const std::string& key) {
  for (const DriverProfile& p : SatelliteProfiles())
    if (p.key == key) return p;
  throw std::invalid_argument("no driver profile " + key);
}

// vidtv_demod.c, the kernel's virtual demodulator: every delivery system,
// QAM and FEC AUTO but no second-generation bit, set_frontend reads no
// parameter and locks at once wherever the virtual tuner finds a carrier;
// every SEC operation succeeds and does nothing; DVBv5 strength and, once
// locked, C/N in dB.
DriverProfile PermissiveProfile() {
  DriverProfile p;
  p.key = "virtual";
  p.name = "Dummy demod for DVB-T/T2/C/S/S2";
  p.source = "drivers/media/test-drivers/vidtv/vidtv_demod.c";
  p.systems = {SYS_DVBT, SYS_DVBT2, SYS_DVBC_ANNEX_A, SYS_DVBS, SYS_DVBS2};
  p.caps = FE_CAN_FEC_1_2 | FE_CAN_FEC_2_3 | FE_CAN_FEC_3_4 | FE_CAN_FEC_4_5 | FE_CAN_FEC_5_6 | FE_CAN_FEC_6_7 |
           FE_CAN_FEC_7_8 | FE_CAN_FEC_8_9 | FE_CAN_QAM_16 | FE_CAN_QAM_64 | FE_CAN_QAM_32 | FE_CAN_QAM_128 |
           FE_CAN_QAM_256 | FE_CAN_QAM_AUTO | FE_CAN_QPSK | FE_CAN_FEC_AUTO | FE_CAN_INVERSION_AUTO |
           FE_CAN_TRANSMISSION_MODE_AUTO | FE_CAN_GUARD_INTERVAL_AUTO | FE_CAN_HIERARCHY_AUTO;
  p.frequencyMinKHz = 51000;
  p.algo = CoreAlgo::Software;
  // FE_GET_INFO on a frontend whose cache is on DVB-T (its first system)
  // gives the range in Hz: 51 to 2150 MHz.
  p.infoRangeInHz = true;
  p.dvbs2.ignoresParameters = true;
  p.findsEitherSystem = true;
  p.acquisitionMs = [](std::uint32_t) { return 0u; };
  p.statistics.v5Strength = true;
  p.statistics.v5Cnr = true;
  p.statistics.legacyStrength = [](double dbm) { return Clamp16(dbm * 1000.0); };  // the dB entry's raw bits
  return p;
}

// cx22702.c: DVB-T only, 177 to 858 MHz, no SEC operations.
DriverProfile TerrestrialProfile() {
  DriverProfile p;
  p.key = "cx22702";
  p.name = "Conexant CX22702 DVB-T";
  p.source = "drivers/media/dvb-frontends/cx22702.c";
  p.systems = {SYS_DVBT};
  p.caps = FE_CAN_FEC_1_2 | FE_CAN_FEC_2_3 | FE_CAN_FEC_3_4 | FE_CAN_FEC_5_6 | FE_CAN_FEC_7_8 | FE_CAN_FEC_AUTO |
           FE_CAN_QPSK | FE_CAN_QAM_16 | FE_CAN_QAM_64 | FE_CAN_QAM_AUTO;
  p.frequencyMinKHz = 177000000;  // the core gives terrestrial ranges in Hz
  p.frequencyMaxKHz = 858000000;
  p.algo = CoreAlgo::Software;
  p.acquisitionMs = [](std::uint32_t) { return 1000u; };
  p.setVoltage = false;
  p.setTone = false;
  p.diseqc = false;
  p.burst = BurstOp::Missing;
  return p;
}
