// Removal events as the device manager sends them (subsystem, device type,
// path, filesystem property), recorded on real machines.
#include <gtest/gtest.h>

#include "platform/devices/removal_filter.h"

namespace {

using devices::RemovalClosesWindow;
using devices::RemovalEvent;

const std::string kCardPci = "/sys/devices/pci0000:00/0000:00:1c.0/0000:03:00.0";
const std::string kCardUsb = "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-4";

struct Case {
  const char* what;
  RemovalEvent event;
  bool closes;
};

TEST(RemovalFilter, ClosesForTheCardAVolumeOrASerialPortAndIgnoresTheRest) {
  const std::vector<std::string> card = {kCardPci + "/dvb/dvb0.frontend0", kCardPci + "/dvb/dvb0.demux0",
                                         kCardUsb + "/1-4:1.0/dvb/dvb1.dvr0"};
  const Case cases[] = {
      {"the card's frontend", {"dvb", "", kCardPci + "/dvb/dvb0.frontend0", ""}, true},
      {"the card's PCI device", {"pci", "", kCardPci, ""}, true},
      {"the USB card unplugged", {"usb", "usb_device", kCardUsb, ""}, true},
      {"the USB card's interface", {"usb", "usb_interface", kCardUsb + "/1-4:1.0", ""}, true},
      {"another adapter's frontend", {"dvb", "", "/sys/devices/pci0000:00/0000:00:1d.0/0000:04:00.0/dvb/dvb2.frontend0", ""}, false},
      {"a sibling path that only shares a prefix", {"usb", "usb_device", kCardUsb.substr(0, kCardUsb.size() - 1), ""}, false},
      {"a USB stick's partition",
       {"block", "partition", "/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb/sdb1", "vfat"},
       true},
      {"a whole disk holding a filesystem",
       {"block", "disk", "/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdc", "ext4"},
       true},
      {"a disk with only a partition table",
       {"block", "disk", "/sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb", ""},
       false},
      {"a loop device partition", {"block", "partition", "/sys/devices/virtual/block/loop0/loop0p1", "ext4"}, false},
      {"a USB serial adapter", {"tty", "", "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0/tty/ttyUSB0", ""}, true},
      {"a modem port", {"tty", "", "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/tty/ttyACM0", ""}, true},
      {"a virtual console", {"tty", "", "/sys/devices/virtual/tty/tty5", ""}, false},
      {"a VPN tunnel", {"net", "", "/sys/devices/virtual/net/tun0", ""}, false},
      {"a container's link", {"net", "", "/sys/devices/virtual/net/veth3f2a1b7", ""}, false},
      {"a mouse", {"input", "", "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/0003:046D:C077.0001/input/input5", ""}, false},
      {"the mouse's USB device", {"usb", "usb_device", "/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2", ""}, false},
      {"a sound card", {"sound", "", "/sys/devices/pci0000:00/0000:00:1f.3/sound/card0", ""}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(RemovalClosesWindow(c.event, card), c.closes) << c.what;
}

TEST(RemovalFilter, WithoutRegisteredCardDevicesOnlyVolumesAndPortsClose) {
  EXPECT_FALSE(RemovalClosesWindow({"dvb", "", kCardPci + "/dvb/dvb0.frontend0", ""}, {}));
  EXPECT_FALSE(RemovalClosesWindow({"pci", "", kCardPci, ""}, {""})) << "an empty path names no device";
  devices::AddCardSyspath(kCardPci + "/dvb/dvb0.frontend0");
  EXPECT_TRUE(RemovalClosesWindow({"pci", "", kCardPci, ""}, devices::CardSyspaths()));
  devices::ClearCardSyspaths();
  EXPECT_TRUE(devices::CardSyspaths().empty());
}

}  // namespace
