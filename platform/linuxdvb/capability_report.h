// What each DVB frontend of the system can do, in words, for `rx40ctl info`
// and the window's capability report: name, delivery systems, frequency and
// symbol-rate ranges, the capability bits decoded, input stream selection,
// the statistics the driver gives and in which scale, and, for the card's
// own frontend, whether the LNB voltage is under the program's control.
// Other frontends are opened read-only (as the adapter lookup does), which
// works while another program tunes them. UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/linuxdvb/frontend.h"
#include "platform/linuxdvb/kernel_calls.h"
#include "platform/media/bda_interfaces.h"

namespace linuxdvb {

// "inversion auto, FEC 1/2, ..., QPSK, DVB-S2 modulations, multistream".
std::string DescribeCapabilityBits(std::uint32_t caps);

// The statistics a frontend's driver gives, asked on fd; a legacy read the
// driver has (anything but ENOTSUPP) counts as given.
StatisticsSupport ProbeStatisticsOn(KernelCalls& calls, int fd);

// Every frontend, the card's (inUse, opened by the card) marked and probed
// through it.
std::vector<CapabilityReport> ReportFrontends(KernelCalls& calls, Frontend* inUse);

}  // namespace linuxdvb
