// The platform's debug output: one line on stderr per call.
#pragma once

#include <string_view>

// Writes text as one line on stderr (a trailing newline in text is kept, not
// doubled). Safe from any thread.
void OutputDebugString(std::string_view text);

// Whether debug lines are written at all (they are by default; the programs
// keep them for --verbose or RX40_DEBUG=1). Returns the previous setting.
// Any thread.
bool SetDebugOutputEnabled(bool enabled);
// --verbose given, or RX40_DEBUG=1 in the environment.
bool DebugOutputWanted(bool verbose);

// One line on stderr whatever the debug setting: what the operator is shown
// in a box, for the terminal the program was started from. Off for a
// program that prints its errors itself. Any thread.
void OutputBoxLine(std::string_view text);
bool SetBoxLinesEnabled(bool enabled);
