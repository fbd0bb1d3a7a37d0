// Every driver profile through every tuning scenario, the card installed as
// the program installs it: each cell ends locked to the scenario's carrier
// with the tone and IF its band needs, or with a refusal that says why.
// The profiles are the drivers' published sources (driver_profiles.md); the
// dish is an LNB with the scenario's carriers behind it.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/error_info.h"
#include "platform/devices/device_registry.h"
#include "platform/devices/removal_filter.h"
#include "platform/linuxdvb/linux_dvb_card.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"
#include "tests/linuxdvb/log_recorder.h"
#include "tests/support/instant_clock.h"

namespace linuxdvb {
namespace {

struct Scenario {
  std::string name;
  FakeDish dish;
  DvbsTuneParameters request;
  std::optional<std::uint32_t> isi;
  bool withoutVoltageControl = false;
  fe_sec_tone_mode tone;  // what the band needs
  std::uint32_t ifKHz;
};

FakeDish Universal(FakeCarrier carrier) {
  FakeDish dish;
  dish.carriers = {carrier};
  return dish;
}

DvbsTuneParameters Request(double downlinkMHz, LONG oscillatorMHz, Polarisation polarisation, LONG symbolRateKs,
                           bool highBand, LONG lowMHz = 9750, LONG highMHz = 10600) {
  DvbsTuneParameters p{static_cast<LONG>(downlinkMHz * 1000), lowMHz * 1000, highMHz * 1000, oscillatorMHz * 1000,
                       polarisation, symbolRateKs, BDA_SPECTRAL_INVERSION_NOT_SET};
  p.band = highBand ? BDA_LNB_BAND_HIGH : BDA_LNB_BAND_LOW;
  return p;
}

constexpr auto H = BDA_POLARISATION_LINEAR_H;
constexpr auto V = BDA_POLARISATION_LINEAR_V;

std::vector<Scenario> Scenarios() {
  FakeDish cband = Universal({.downlinkMHz = 3800, .polarisation = 'H', .symbolRate = 27500000, .system = SYS_DVBS,
                              .modulation = QPSK, .fec = FEC_3_4, .rolloff = ROLLOFF_35, .pilot = PILOT_OFF});
  cband.lowOscillatorMHz = cband.highOscillatorMHz = 5150;
  cband.oscillatorAbove = true;
  FakeDish external = Universal({.downlinkMHz = 11362, .polarisation = 'H', .symbolRate = 22000000});
  external.externalSupply = SEC_VOLTAGE_18;
  return {
      {"DVB-S QPSK 3/4",
       Universal({.downlinkMHz = 11034, .polarisation = 'H', .symbolRate = 27500000, .system = SYS_DVBS,
                  .modulation = QPSK, .fec = FEC_3_4, .rolloff = ROLLOFF_35, .pilot = PILOT_OFF}),
       Request(11034, 9750, H, 27500, false), {}, false, SEC_TONE_OFF, 1284000},
      {"DVB-S2 8PSK 2/3", Universal({.downlinkMHz = 11362, .polarisation = 'H', .symbolRate = 22000000}),
       Request(11362, 9750, H, 22000, false), {}, false, SEC_TONE_OFF, 1612000},
      {"16APSK multistream ISI 2",
       Universal({.downlinkMHz = 12168, .polarisation = 'H', .symbolRate = 27500000, .modulation = APSK_16,
                  .fec = FEC_3_4, .inputStreams = {1, 2, 10}}),
       Request(12168, 10600, H, 27500, true), 2u, false, SEC_TONE_ON, 1568000},
      {"1 Msym/s DVB-S2",
       Universal({.downlinkMHz = 10720, .polarisation = 'V', .symbolRate = 1000000, .modulation = QPSK,
                  .fec = FEC_3_4, .rolloff = ROLLOFF_35, .pilot = PILOT_OFF}),
       Request(10720, 9750, V, 1000, false), {}, false, SEC_TONE_OFF, 970000},
      {"C band single oscillator", cband, Request(3800, 5150, H, 27500, false, 5150, 5150), {}, false, SEC_TONE_OFF,
       1350000},
      {"universal 11699 MHz", Universal({.downlinkMHz = 11699, .polarisation = 'V', .rolloff = ROLLOFF_35}),
       Request(11699, 9750, V, 22000, false), {}, false, SEC_TONE_OFF, 1949000},
      {"universal 11700 MHz", Universal({.downlinkMHz = 11700, .polarisation = 'H', .rolloff = ROLLOFF_35}),
       Request(11700, 10600, H, 22000, true), {}, false, SEC_TONE_ON, 1100000},
      {"no LNB voltage control", external, Request(11362, 9750, H, 22000, false), {}, true, SEC_TONE_OFF, 1612000},
  };
}

// An adapter as a profile appears: one frontend, or the hybrid adapter with
// its DVB-T frontend first (the cx88 layout with the frontends swapped).
struct AdapterRow {
  std::string name;
  std::vector<FakeFrontend> frontends;
  const DriverProfile& Satellite() const { return frontends.back().profile; }
};

std::vector<AdapterRow> Adapters() {
  std::vector<AdapterRow> rows;
  for (const DriverProfile& profile : SatelliteProfiles()) rows.push_back({profile.key, {FakeFrontend{.profile = profile}}});
  FakeFrontend terrestrial{.profile = TerrestrialProfile(), .type = FE_OFDM};
  rows.push_back({"hybrid cx22702 + cx24116", {terrestrial, FakeFrontend{.profile = ProfileNamed("cx24116")}}});
  return rows;
}

// Cells that do not end locked, and the words that say why.
const std::map<std::pair<std::string, std::string>, std::string> kRefusals{
    {{"cx24116", "16APSK multistream ISI 2"}, "no lock after all"},
    {{"cx24117", "16APSK multistream ISI 2"}, "no lock after all"},
    {{"hybrid cx22702 + cx24116", "16APSK multistream ISI 2"}, "no lock after all"},
    {{"mxl5xx", "16APSK multistream ISI 2"}, "the 22 kHz tone is not under this program's control"},
    {{"mxl5xx", "universal 11700 MHz"}, "the 22 kHz tone is not under this program's control"},
};

// The adapters whose frontend selects input streams (FE_CAN_MULTISTREAM).
const std::vector<std::string> kMultistream{"stv090x", "stid135"};

struct Cell {
  bool locked = false;
  std::optional<FakeCarrier> carrier;
  fe_sec_tone_mode tone = SEC_TONE_OFF;
  std::uint32_t ifKHz = 0;
  std::uint32_t streamId = 0;
  HRESULT isiResult = S_OK;
  std::string isiReason;
  std::string log;
  driver::MediaInfoReport media;
};

Cell RunCell(const AdapterRow& row, const Scenario& scenario) {
  ScopedInstantClock clock;
  auto kernel = std::make_shared<FakeDvbKernel>();
  std::vector<FakeFrontend> frontends = row.frontends;
  if (scenario.withoutVoltageControl) frontends.back().profile.setVoltage = false;
  kernel->AddAdapter(0, frontends, {}, scenario.dish);
  LogRecorder log;
  CardOptions options;
  options.log = log.Sink();
  InstallResult installed = LinuxDvbCard::Install(kernel, options);
  EXPECT_TRUE(installed.card) << installed.refusal;
  Cell cell;
  if (!installed.card) return cell;
  Frontend& frontend = *installed.card->GetFrontend();
  EXPECT_EQ(frontend.Tune(scenario.request), S_OK);
  if (scenario.isi) {
    ClearErrorDescription();
    cell.isiResult = frontend.SelectInputStream(*scenario.isi);
    cell.isiReason = TakeErrorDescription();
  }
  // Long enough for every attempt of the search at 1 Msym/s.
  for (int ms = 0; ms < 600000 && !cell.locked; ms += 100) {
    SignalReading reading;
    EXPECT_EQ(frontend.ReadSignal(&reading), S_OK);
    cell.locked = reading.locked;
    if (!cell.locked) clock->SleepMs(100);
  }
  frontend.ReadMediaInfo(&cell.media);
  cell.log = log.Text();
  cell.carrier = kernel->LockedCarrier(0);
  cell.tone = kernel->Tone(0);
  cell.ifKHz = kernel->Property(0, DTV_FREQUENCY);
  cell.streamId = kernel->Property(0, DTV_STREAM_ID);
  installed.card.reset();
  devices::DeviceRegistry::Instance().Clear();
  devices::ClearCardSyspaths();
  return cell;
}

TEST(DriverMatrix, EveryProfileThroughEveryScenarioLocksRightOrSaysWhyNot) {
  for (const AdapterRow& row : Adapters()) {
    for (const Scenario& scenario : Scenarios()) {
      SCOPED_TRACE(row.name + " / " + scenario.name);
      const Cell cell = RunCell(row, scenario);
      const auto refusal = kRefusals.find({row.name, scenario.name});
      if (refusal != kRefusals.end()) {
        EXPECT_FALSE(cell.locked);
        EXPECT_NE(cell.log.find(refusal->second), std::string::npos) << cell.log.substr(0, 2000);
      } else {
        ASSERT_TRUE(cell.locked) << cell.log.substr(0, 2000);
        ASSERT_TRUE(cell.carrier);
        EXPECT_EQ(cell.carrier->downlinkMHz, scenario.dish.carriers.front().downlinkMHz);
        EXPECT_EQ(cell.ifKHz, scenario.ifKHz);
        if (row.Satellite().setTone) EXPECT_EQ(cell.tone, scenario.tone);
        // What the driver reads back, where it reads it back.
        if (row.Satellite().reportsTuned)
          EXPECT_EQ(cell.media.standard, scenario.dish.carriers.front().system == SYS_DVBS2 ? 1u : 0u);
      }
      if (scenario.withoutVoltageControl)
        EXPECT_NE(cell.log.find("errno 524, ENOTSUPP"), std::string::npos) << "said once, by name";
      if (scenario.isi) {
        const bool multistream = std::find(kMultistream.begin(), kMultistream.end(), row.name) != kMultistream.end();
        EXPECT_EQ(cell.isiResult, multistream ? S_OK : E_NOTIMPL);
        if (multistream) EXPECT_EQ(cell.streamId, *scenario.isi);
        else EXPECT_NE(cell.isiReason.find("FE_CAN_MULTISTREAM"), std::string::npos);
      }
    }
  }
}

}  // namespace
}  // namespace linuxdvb
