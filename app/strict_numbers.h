// Numbers as a command line or a settings file gives them, read strictly:
// all of the text, decimal, in the C form whatever the locale. "0x10",
// "010" read as octal, "1e3", "1,5", "nan" and "inf" are refused, never
// read as something else. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A whole decimal number from low to high.
std::optional<std::int64_t> StrictInteger(const std::string& text, std::int64_t low, std::int64_t high);

// A decimal fraction ("-0.1", "+18.4", "50"), finite.
std::optional<double> StrictDecimal(const std::string& text);
