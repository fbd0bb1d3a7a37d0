// Installing a real adapter as the card: the devices the lookup finds, the
// removal paths, the refusals, and what closing leaves behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/com/com_ptr.h"
#include "platform/devices/device_registry.h"
#include "platform/devices/removal_filter.h"
#include "platform/linuxdvb/linux_dvb_card.h"
#include "platform/media/bda_interfaces.h"
#include "platform/linuxdvb/capability_report.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"
#include "tests/linuxdvb/log_recorder.h"

namespace linuxdvb {
namespace {

class CardTest : public testing::Test {
 protected:
  void SetUp() override {
    devices::DeviceRegistry::Instance().Clear();
    devices::ClearCardSyspaths();
  }
  void TearDown() override {
    devices::DeviceRegistry::Instance().Clear();
    devices::ClearCardSyspaths();
  }
  std::vector<std::wstring> Names(REFGUID category) {
    std::vector<std::wstring> names;
    for (const auto& device : devices::DeviceRegistry::Instance().EnumerateCategory(category))
      names.push_back(device.friendlyName);
    return names;
  }

  std::shared_ptr<FakeDvbKernel> kernel = std::make_shared<FakeDvbKernel>();
};

TEST_F(CardTest, TheAdapterIsRegisteredAsTheCardsTunerAndCaptureAndItsRemovalIsTheCards) {
  FakeFrontend terrestrial;
  terrestrial.profile = TerrestrialProfile();
  kernel->AddAdapter(0, terrestrial);
  FakeFrontend sat;
  sat.name = "Sat One";
  kernel->AddAdapter(1, sat);
  InstallResult installed = LinuxDvbCard::Install(kernel, {});
  ASSERT_TRUE(installed.card);
  EXPECT_TRUE(installed.refusal.empty());
  EXPECT_EQ(Names(KSCATEGORY_BDA_NETWORK_TUNER),
            std::vector<std::wstring>({L"Orvane RX40 DVBS/S2 Tuner (adapter 1: Sat One)"}));
  EXPECT_EQ(Names(KSCATEGORY_BDA_RECEIVER_COMPONENT),
            std::vector<std::wstring>({L"Orvane RX40 BDA Digital Capture DVBS (adapter 1)"}));

  // The tuner binds to a filter with the card's faces.
  const auto tuner = devices::DeviceRegistry::Instance().EnumerateCategory(KSCATEGORY_BDA_NETWORK_TUNER);
  ComPtr<IBaseFilter> filter;
  ASSERT_EQ(tuner[0].bind(IBaseFilter::IID, reinterpret_cast<void**>(filter.ReleaseAndGetAddressOf())), S_OK);
  EXPECT_TRUE(filter.As<IBDA_Topology>());
  EXPECT_TRUE(filter.As<IBDA_DvbsTuning>());

  // Removing the adapter's DVB device, or the USB device it hangs on, closes the window.
  const auto paths = devices::CardSyspaths();
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_TRUE(devices::RemovalClosesWindow({"dvb", "", paths[0], ""}, paths));
  EXPECT_TRUE(devices::RemovalClosesWindow({"usb", "usb_device", "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3", ""},
                                           paths));
  EXPECT_FALSE(devices::RemovalClosesWindow({"usb", "usb_device", "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2", ""},
                                            paths))
      << "the other adapter's USB device";

  filter = nullptr;
  kernel->ClearCalls();
  installed.card.reset();
  EXPECT_EQ(kernel->Calls(), std::vector<std::string>({"FE_SET_TONE off", "FE_SET_VOLTAGE off"}));
  EXPECT_EQ(kernel->OpenCount(), 0);
  EXPECT_TRUE(Names(KSCATEGORY_BDA_NETWORK_TUNER).empty());
}

TEST_F(CardTest, ABusyOrForbiddenAdapterIsRefusedWithTheReasonNoAdapterIsNoCard) {
  EXPECT_FALSE(LinuxDvbCard::Install(kernel, {}).card);
  EXPECT_TRUE(LinuxDvbCard::Install(kernel, {}).refusal.empty()) << "no adapter: the usual missing-card refusal";

  FakeFrontend busy;
  busy.name = "Sat One";
  busy.writeOpenError = EBUSY;
  kernel->AddAdapter(0, busy);
  kernel->SetHolders("/dev/dvb/adapter0/frontend0", {{4242, "tvplayer"}});
  InstallResult installed = LinuxDvbCard::Install(kernel, {});
  EXPECT_FALSE(installed.card);
  EXPECT_EQ(installed.refusal,
            "The DVB adapter 0 (Sat One) is in use by another program: tvplayer (pid 4242). open on "
            "/dev/dvb/adapter0/frontend0: Device or resource busy (EBUSY). Close that program and start again.");
  EXPECT_TRUE(Names(KSCATEGORY_BDA_NETWORK_TUNER).empty());

  kernel->SetHolders("/dev/dvb/adapter0/frontend0", {});  // another user's program: not visible
  EXPECT_NE(LinuxDvbCard::Install(kernel, {}).refusal.find("is in use by another program. open on"), std::string::npos);

  kernel->Frontend(0).openError = EACCES;
  installed = LinuxDvbCard::Install(kernel, {});
  EXPECT_EQ(installed.refusal,
            "The DVB adapter 0 cannot be opened for tuning: open on /dev/dvb/adapter0/frontend0: Permission denied "
            "(EACCES). Add your user to the video group (sudo usermod -aG video $USER), log in again and start again.");

  CardOptions other;
  other.adapter = 3;
  EXPECT_TRUE(LinuxDvbCard::Install(kernel, other).refusal.empty()) << "--adapter 3 names no adapter: no card";
  EXPECT_EQ(kernel->OpenCount(), 0);
}

// The backend says what it does only through the log it is given (the
// program hands in its debug output), never on the program's own output;
// without a log its lines are dropped.
TEST_F(CardTest, TheBackendSpeaksOnlyThroughTheLogItIsGiven) {
  FakeFrontend terrestrial;
  terrestrial.profile = TerrestrialProfile();
  kernel->AddAdapter(0, terrestrial);
  FakeFrontend sat;
  sat.name = "Sat One";
  kernel->AddAdapter(1, sat);
  const DvbsTuneParameters request{11362000, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_H, 22000,
                                   BDA_SPECTRAL_INVERSION_NOT_SET};
  LogRecorder log;
  CardOptions options;
  options.log = log.Sink();

  testing::internal::CaptureStderr();
  InstallResult installed = LinuxDvbCard::Install(kernel, options);
  const bool logged = installed.card != nullptr;
  if (logged) installed.card->GetFrontend()->Tune(request);
  installed.card.reset();
  const std::string lines = log.Text();
  InstallResult silent = LinuxDvbCard::Install(kernel, {});
  if (silent.card) silent.card->GetFrontend()->Tune(request);
  silent.card.reset();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  ASSERT_TRUE(logged);
  EXPECT_TRUE(log.Has("DVB adapters: adapter 1 (Sat One)")) << log.Text();
  EXPECT_TRUE(log.Has(") is the card\n")) << log.Text();
  EXPECT_TRUE(log.Has("adapter 1 (Sat One): SEC: ")) << "the frontend's own lines, named: " << log.Text();
  EXPECT_TRUE(log.Has("adapter 1 (Sat One): closed\n")) << log.Text();
  EXPECT_EQ(log.Text(), lines) << "a card installed without a log has no other place to write";
}

// What rx40ctl info and the window's report say: every frontend, the
// card's own probed through its read-write descriptor.
TEST_F(CardTest, TheCapabilityReportListsEveryFrontendAndMarksTheCards) {
  FakeFrontend terrestrial{.profile = TerrestrialProfile(), .type = FE_OFDM};
  FakeFrontend satellite{.profile = ProfileNamed("m88ds3103")};
  satellite.profile.setVoltage = false;
  kernel->AddAdapter(0, {terrestrial, satellite}, {}, {});
  kernel->AddAdapter(1, FakeFrontend{.profile = ProfileNamed("stv090x")});
  kernel->AddAdapter(2, FakeFrontend{.profile = PermissiveProfile()});
  InstallResult installed = LinuxDvbCard::Install(kernel, {});
  ASSERT_TRUE(installed.card);
  Frontend& frontend = *installed.card->GetFrontend();
  DvbsTuneParameters request{11362000, 9750000, 10600000, 9750000, BDA_POLARISATION_LINEAR_H, 22000,
                             BDA_SPECTRAL_INVERSION_NOT_SET};
  frontend.Tune(request);

  KernelCalls calls(kernel);
  const auto reports = ReportFrontends(calls, &frontend);
  ASSERT_EQ(reports.size(), 4u);
  const auto fact = [](const CapabilityReport& r, const std::string& name) {
    for (const auto& [key, value] : r.facts)
      if (key == name) return value;
    return std::string("(missing)");
  };
  EXPECT_EQ(reports[0].title, "adapter 0 (Conexant CX22702 DVB-T)");
  EXPECT_FALSE(reports[0].inUse);
  EXPECT_EQ(fact(reports[0], "frequency"), "177 to 858 MHz");
  EXPECT_EQ(fact(reports[0], "input streams"), "(missing)") << "a terrestrial frontend";
  EXPECT_EQ(reports[1].title, "adapter 0 frontend 1 (Montage Technology M88DS3103)");
  EXPECT_TRUE(reports[1].inUse);
  EXPECT_EQ(fact(reports[1], "delivery systems"), "DVB-S, DVB-S2");
  EXPECT_EQ(fact(reports[1], "symbol rate"), "1 to 45 Msym/s");
  EXPECT_EQ(fact(reports[1], "input streams"), "not selectable");
  EXPECT_EQ(fact(reports[1], "statistics"),
            "strength none, C/N after lock, bit errors after lock, uncorrected blocks none");
  EXPECT_EQ(fact(reports[1], "LNB voltage"), "not under the program's control (ENOTSUPP)");
  EXPECT_EQ(fact(reports[2], "input streams"), "selectable (ISI 0 to 255, PLS)");
  EXPECT_EQ(fact(reports[2], "statistics"), "strength legacy, C/N legacy, bit errors legacy, uncorrected blocks none")
      << "read-only: the legacy reads answer EAGAIN, so the driver has them";
  EXPECT_EQ(fact(reports[2], "frequency"), "950 to 2150 MHz");
  EXPECT_EQ(fact(reports[3], "frequency"), "51 to 2150 MHz") << "the virtual adapter's range comes in Hz";
  EXPECT_EQ(DescribeCapabilityBits(0x500006FF),
            "inversion auto, FEC 1/2, FEC 2/3, FEC 3/4, FEC 4/5, FEC 5/6, FEC 6/7, FEC 7/8, FEC auto, QPSK, "
            "second-generation modulations, recovers the lock (0x500006FF)");
}

}  // namespace
}  // namespace linuxdvb
