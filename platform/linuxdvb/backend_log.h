// Where the Linux DVB backend's debug lines go: what it tried, what the
// driver refused, what libdvbv5 said. The program that installs the card
// hands in its debug output, tests a recorder; an empty log drops the lines.
// The backend never writes to the program's output on its own.
//
// Called on whichever thread the line arises (UI, capture reader), so the
// log given must be safe from any thread.
#pragma once

#include <functional>
#include <string>

namespace linuxdvb {

using BackendLog = std::function<void(const std::string& line)>;

}  // namespace linuxdvb
