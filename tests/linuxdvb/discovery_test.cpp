// The one system-call wrapper, and finding the card among the adapters.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <memory>

#include "platform/linuxdvb/adapter_discovery.h"
#include "platform/linuxdvb/kernel_calls.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"

namespace linuxdvb {
namespace {

TEST(KernelCalls, RetriesInterruptedCallsKeepsTheErrnoAndNamesCallAndDevice) {
  auto kernel = std::make_shared<FakeDvbKernel>();
  FakeFrontend busy;
  busy.writeOpenError = EBUSY;
  kernel->AddAdapter(0, busy);
  KernelCalls calls(kernel);

  kernel->InterruptNextCalls(2);
  const CallResult opened = calls.Open("/dev/dvb/adapter0/frontend0", O_RDONLY);
  ASSERT_TRUE(opened.Ok());
  EXPECT_EQ(kernel->CallsStartingWith("EINTR").size(), 2u);
  DeviceFd fd(&calls, static_cast<int>(opened.Value()));

  // A read-only frontend refuses control calls, as the kernel does.
  const CallResult tone = calls.Ioctl(fd.Get(), FE_SET_TONE, SEC_TONE_ON);
  ASSERT_FALSE(tone.Ok());
  EXPECT_EQ(tone.Errno(), EPERM);
  EXPECT_EQ(tone.Error().Describe(),
            "FE_SET_TONE on /dev/dvb/adapter0/frontend0: Operation not permitted (EPERM)");

  const CallResult writer = calls.Open("/dev/dvb/adapter0/frontend0", O_RDWR);
  ASSERT_FALSE(writer.Ok());
  EXPECT_EQ(writer.Error().Describe(), "open on /dev/dvb/adapter0/frontend0: Device or resource busy (EBUSY)");

  fd.Reset();
  EXPECT_EQ(kernel->OpenCount(), 0) << "the wrapper's descriptors are closed";
}

FakeFrontend Frontend(std::string name, std::vector<std::uint32_t> systems) {
  FakeFrontend f;
  f.name = std::move(name);
  f.profile.systems = std::move(systems);
  return f;
}

TEST(AdapterDiscovery, TheCardIsTheAdapterAskedForOrTheFirstThatReceivesDvbsOrDvbs2) {
  auto kernel = std::make_shared<FakeDvbKernel>();
  kernel->AddAdapter(0, Frontend("Terrestrial", {SYS_DVBT, SYS_DVBT2, SYS_DVBC_ANNEX_A}));
  kernel->AddAdapter(1, Frontend("Sat One", {SYS_DVBS, SYS_DVBS2}));
  FakeFrontend old = Frontend("Old Sat", {});
  old.enumDelsys = false;  // a kernel that predates DTV_ENUM_DELSYS: the type tells
  old.profile.caps |= FE_CAN_2G_MODULATION;
  kernel->AddAdapter(2, old);
  FakeFrontend locked = Frontend("Locked Away", {SYS_DVBS2});
  locked.openError = EACCES;
  kernel->AddAdapter(3, locked);
  KernelCalls calls(kernel);
  const auto probes = ProbeAdapters(calls);
  ASSERT_EQ(probes.size(), 4u);
  EXPECT_EQ(probes[2].info->systems, std::vector<std::uint32_t>({SYS_DVBS, SYS_DVBS2}))
      << "FE_QPSK with the second-generation flag";
  EXPECT_EQ(kernel->OpenCount(), 0);
  for (const std::string& call : kernel->CallsStartingWith("open")) EXPECT_TRUE(call.ends_with(" ro")) << call;

  const struct {
    std::optional<int> wanted;
    std::optional<int> card;
    std::optional<int> unusable;
    const char* note;  // one of the notes, or empty
  } cases[] = {
      {std::nullopt, 1, std::nullopt, "adapter 0 (Terrestrial): receives DVB-T, DVB-T2, DVB-C, not DVB-S or DVB-S2"},
      {1, 1, std::nullopt, ""},
      {2, 2, std::nullopt, ""},
      {0, std::nullopt, std::nullopt, "adapter 0 (Terrestrial): receives DVB-T, DVB-T2, DVB-C, not DVB-S or DVB-S2"},
      {3, std::nullopt, 3, "adapter 3: open on /dev/dvb/adapter3/frontend0: Permission denied (EACCES)"},
      {7, std::nullopt, std::nullopt, "adapter 7: no such DVB adapter"},
  };
  for (const auto& c : cases) {
    const AdapterChoice choice = ChooseAdapter(probes, c.wanted);
    const std::string name = c.wanted ? std::to_string(*c.wanted) : "first";
    EXPECT_EQ(choice.card ? std::optional<int>(choice.card->adapter) : std::nullopt, c.card) << name;
    EXPECT_EQ(choice.unusable ? std::optional<int>(choice.unusable->adapter) : std::nullopt, c.unusable) << name;
    if (*c.note) {
      EXPECT_NE(std::find(choice.notes.begin(), choice.notes.end(), c.note), choice.notes.end()) << name;
    }
  }
  EXPECT_EQ(ChooseAdapter(probes, 1).card->Label(), "adapter 1 (Sat One)");
  EXPECT_EQ(ChooseAdapter(probes, 1).card->Syspaths().size(), 3u);
}

// A hybrid adapter (cx88-style: two frontends on one demultiplexer) with its
// DVB-T frontend first: the satellite frontend is the card, or the one
// asked for with --adapter N:F.
TEST(AdapterDiscovery, TheSatelliteFrontendOfAHybridAdapterIsChosenOrTheOneAskedFor) {
  auto kernel = std::make_shared<FakeDvbKernel>();
  FakeFrontend terrestrial;
  terrestrial.profile = TerrestrialProfile();
  terrestrial.type = FE_OFDM;
  FakeFrontend satellite;
  satellite.profile = ProfileNamed("cx24116");
  kernel->AddAdapter(0, {terrestrial, satellite}, {}, {});
  KernelCalls calls(kernel);
  const auto probes = ProbeAdapters(calls);
  ASSERT_EQ(probes.size(), 2u);
  const AdapterChoice first = ChooseAdapter(probes, std::nullopt);
  ASSERT_TRUE(first.card);
  EXPECT_EQ(first.card->frontendIndex, 1);
  EXPECT_EQ(first.card->Label(), "adapter 0 frontend 1 (Conexant CX24116/CX24118)");
  EXPECT_EQ(first.card->demux->path, "/dev/dvb/adapter0/demux0") << "the adapter's one demultiplexer";
  EXPECT_EQ(first.notes.at(0), "adapter 0 (Conexant CX22702 DVB-T): receives DVB-T, not DVB-S or DVB-S2");

  EXPECT_EQ(ChooseAdapter(probes, 0, 1).card->frontendIndex, 1);
  const AdapterChoice terrestrialAsked = ChooseAdapter(probes, 0, 0);
  EXPECT_FALSE(terrestrialAsked.card);
  const AdapterChoice missing = ChooseAdapter(probes, 0, 2);
  EXPECT_EQ(missing.notes.back(), "adapter 0 frontend 2: no such DVB frontend");
}

TEST(AdapterDiscovery, AnUnreadableAdapterIsKeptOnlyWhileNoSatelliteAdapterFollows) {
  auto kernel = std::make_shared<FakeDvbKernel>();
  FakeFrontend locked;
  locked.openError = EACCES;
  kernel->AddAdapter(0, locked);
  KernelCalls calls(kernel);
  AdapterChoice choice = ChooseAdapter(ProbeAdapters(calls), std::nullopt);
  EXPECT_FALSE(choice.card);
  ASSERT_TRUE(choice.unusable);
  EXPECT_EQ(choice.unusable->failure->error, EACCES);

  kernel->AddAdapter(1);
  choice = ChooseAdapter(ProbeAdapters(calls), std::nullopt);
  ASSERT_TRUE(choice.card);
  EXPECT_EQ(choice.card->adapter, 1);

  EXPECT_FALSE(ChooseAdapter({}, std::nullopt).card) << "no adapters at all";
  EXPECT_FALSE(ChooseAdapter({}, std::nullopt).unusable);
}

}  // namespace
}  // namespace linuxdvb
