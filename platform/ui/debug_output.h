// The platform's debug output: one line on stderr per call.
#pragma once

#include <string_view>

// Writes text as one line on stderr (a trailing newline in text is kept, not
// doubled). Safe from any thread.
void OutputDebugString(std::string_view text);
