// Installing a real adapter as the card: the devices the lookup finds, the
// removal paths, the refusals, and what closing leaves behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/com/com_ptr.h"
#include "platform/devices/device_registry.h"
#include "platform/devices/removal_filter.h"
#include "platform/linuxdvb/linux_dvb_card.h"
#include "platform/media/bda_interfaces.h"
#include "tests/linuxdvb/fake_dvb_kernel.h"

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

}  // namespace
}  // namespace linuxdvb
