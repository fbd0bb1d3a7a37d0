// How real satellite demodulator drivers behave behind the Linux DVB core,
// each profile written from the driver's published kernel source (file named
// in `source`; the facts and the lines they come from are tabled in
// driver_profiles.md beside this file). The fake kernel (fake_dvb_kernel.h)
// runs a frontend by its profile, so the backend meets what real cards do:
// AUTO parameters a driver refuses while the core still answers DTV_TUNE
// with 0, searches that take seconds on narrow carriers, stream ids the core
// stores for every driver, frontends without LNB power control, adapters
// whose satellite frontend is not the first.
#pragma once

#include <linux/dvb/frontend.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// How the DVB core runs the driver's tune (dvb_frontend.c): HW and SW both
// swallow a refusal from the driver (the frontend just never locks); a
// search driver's parameters are its own.
enum class CoreAlgo { Hardware, Software, Search };

// What a driver does with a tone burst: sends it, keeps it for the next
// DiSEqC message, accepts it and sends nothing, or has no such operation
// (the core answers ENOTSUPP).
enum class BurstOp { Sends, CachesForNextMessage, DoesNothing, Missing };

// How a multistream driver takes the physical-layer scrambling code.
enum class PlsInput { None, ScramblingIndex, PackedInStreamId };

// What the driver's set_frontend (or search) accepts on DVB-S2.
struct Dvbs2Rules {
  bool ignoresParameters = false;  // modulation, FEC, roll-off, pilots: found by the demodulator
  std::vector<fe_modulation> modulations{QPSK, PSK_8, APSK_16, APSK_32};  // explicit values taken
  bool modulationAuto = false;  // QAM_AUTO taken
  bool fecAuto = false;
  bool rolloffAuto = false;
  bool pilotAuto = true;
  // With FEC AUTO the demodulator finds QPSK or 8PSK by itself (any of
  // `modulations`); otherwise an explicit modulation must be the carrier's.
  bool detectsModulationWithFecAuto = false;
  // DVB-S2 (modulation, code rate) pairs the driver's table holds; empty: any.
  std::vector<std::pair<fe_modulation, fe_code_rate>> codeRates;
};

struct StatisticsModel {
  bool v5Strength = false;       // DTV_STAT_SIGNAL_STRENGTH in 0.001 dBm
  bool v5Cnr = false;            // DTV_STAT_CNR in 0.001 dB
  bool v5RelativeToo = false;    // a second, relative entry beside each dB one
  bool v5BitCounters = false;    // post-FEC bit error and bit counts
  // Legacy reads from the carrier's level (dBm) and C/N (dB); none: the
  // driver has no such operation (ENOTSUPP).
  std::function<std::uint16_t(double)> legacyStrength;
  std::function<std::uint16_t(double)> legacySnr;
  bool legacyBer = false;
  bool legacyBlocks = false;
};

struct DriverProfile {
  std::string key;     // "cx24116"
  std::string name;    // FE_GET_INFO's name
  std::string source;  // the driver's source file in the kernel tree
  std::vector<std::uint32_t> systems;
  std::uint32_t caps = 0;
  std::uint32_t frequencyMinKHz = 950000;
  std::uint32_t frequencyMaxKHz = 2150000;
  bool infoRangeInHz = false;  // FE_GET_INFO converts the range to Hz (a terrestrial current system)
  std::uint32_t symbolRateMin = 1000000;
  std::uint32_t symbolRateMax = 45000000;
  CoreAlgo algo = CoreAlgo::Hardware;
  Dvbs2Rules dvbs2;
  bool dvbsFecAuto = true;  // DVB-S QPSK with FEC AUTO (every driver read takes it)
  // A search for one generation finds a carrier of the other too.
  bool findsEitherSystem = false;
  // How long the driver takes to lock, by the requested symbol rate (S/s).
  std::function<std::uint32_t(std::uint32_t)> acquisitionMs;
  bool isiFilter = false;  // takes DTV_STREAM_ID 0..255 as an ISI filter
  PlsInput pls = PlsInput::None;
  StatisticsModel statistics;
  bool setVoltage = true;
  bool setTone = true;
  bool diseqc = true;
  std::size_t diseqcMinLength = 0;  // shorter messages: EINVAL (0: the core's check only)
  bool diseqcReachesBus = true;     // false: accepted and not sent
  BurstOp burst = BurstOp::Sends;
  bool reportsTuned = false;        // get_frontend reads the locked carrier's parameters
  bool zeroWhileUnlocked = false;   // get_frontend reports frequency and symbol rate 0 unlocked
  fe_status_t lockStatus = static_cast<fe_status_t>(FE_HAS_SIGNAL | FE_HAS_CARRIER | FE_HAS_VITERBI | FE_HAS_SYNC | FE_HAS_LOCK);
};

// The satellite profiles of the tuning matrix, in its order: cx24116,
// cx24117, stv090x (cut 3.0: multistream), m88ds3103, mxl5xx, stid135.
const std::vector<DriverProfile>& SatelliteProfiles();
const DriverProfile& ProfileNamed(const std::string& key);
// The kernel's virtual adapter: takes every parameter and locks at once.
DriverProfile PermissiveProfile();
// A DVB-T frontend (cx22702): the first frontend of the hybrid adapter.
DriverProfile TerrestrialProfile();
