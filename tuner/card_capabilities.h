// What the card's tuners can do, as its tuner filter reports it (a real
// card: every DVB frontend of the system, the card's marked), for the
// window's capability report and `rx40ctl info`. UI thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/media/bda_interfaces.h"

// None when there is no tuner filter or it gives no report.
std::optional<std::vector<CapabilityReport>> ReadCardCapabilities();

// One block per tuner: its title (with "(this card)" for the card's own),
// then "  fact: value" lines.
std::string CapabilitiesText(const std::vector<CapabilityReport>& reports);
