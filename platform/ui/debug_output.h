// The platform's debug output: one line on stderr per call.
#pragma once

#include <string_view>

// Writes text as one line on stderr (a trailing newline in text is kept, not
// doubled). Safe from any thread.
void OutputDebugString(std::string_view text);

// Whether debug lines are written at all (they are by default). A program
// without a window, whose stderr carries its own errors, keeps them for its
// verbose mode. Returns the previous setting. Any thread.
bool SetDebugOutputEnabled(bool enabled);
