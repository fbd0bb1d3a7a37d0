// Values of the card's FILE that several sections share: yes/no switches and
// whole numbers. Errors read "line N: key ...".
#pragma once

#include <cstdint>
#include <string>

#include "platform/sim/sim_ini.h"

namespace sim {

// yes, true or 1; no, false or 0.
bool ParseYesNo(const IniEntry& entry, bool* out, std::string* error);
// A whole number of 0 or more, digits only.
bool ParseWholeNumber(const IniEntry& entry, unsigned* out, std::string* error);
bool ParseWholeNumber(const IniEntry& entry, std::uint64_t* out, std::string* error);
// A decimal number from low to high, e.g. "1.5".
bool ParseDecimal(const IniEntry& entry, double low, double high, double* out, std::string* error);
// "line N: " for an entry's or a section's messages.
std::string LineOf(const IniEntry& entry);
std::string LineOf(const IniSection& section);

}  // namespace sim
