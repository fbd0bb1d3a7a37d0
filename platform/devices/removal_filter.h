// Which device removals close the main window. The window must learn that
// the card it drives is gone, and that a storage volume or serial port went
// away (a recording or a positioner link may live there), but a network
// tunnel going down, a container's virtual link, a loop device or an
// unplugged mouse must not end a recording.
#pragma once

#include <string>
#include <vector>

namespace devices {

// One removal as the system's device manager reports it.
struct RemovalEvent {
  std::string subsystem;  // "block", "tty", "dvb", "usb", "pci", "net", "input", ...
  std::string devtype;    // "disk", "partition", "usb_device", ... or empty
  std::string syspath;    // "/sys/devices/..."
  std::string fsType;     // the ID_FS_TYPE property: the volume's filesystem, or empty
};

// True for the card's own devices (a registered device path, or a parent of
// one, such as its USB or PCI device), for a block device that carries a
// filesystem and hangs off real hardware, and for a serial port on real
// hardware.
bool RemovalClosesWindow(const RemovalEvent& event, const std::vector<std::string>& cardSyspaths);

// The card's device paths, registered by the backend that found the card.
// Any thread.
void AddCardSyspath(const std::string& syspath);
void ClearCardSyspaths();
std::vector<std::string> CardSyspaths();

}  // namespace devices
