#pragma once
// Conversions of operator-typed text, with the C library's rules: text that
// does not start with a number reads as 0, never as an error.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Decimal: leading white space, optional sign, digits up to the first
// non-digit. Values beyond int's range clamp to INT_MIN / INT_MAX.
int AtoiText(const std::string& text);

// Decimal fraction as atof reads it in the "C" locale, whatever locale the
// process runs in: leading white space, the longest leading number (sign,
// digits, '.', exponent; also hexadecimal, "inf", "infinity" and "nan"),
// 0 when there is none. Out-of-range magnitudes give +-HUGE_VAL (infinity).
double AtofText(const std::string& text);

// A plain decimal number and nothing else, blanks around it allowed:
// optional sign, digits, optionally a point and more digits ("50.5", "-0.1",
// ".5"). None for empty text, "abc", "50,5", "1e3" or "inf": a coordinate
// the operator typed wrongly must not be read as 0 or as its leading digits.
std::optional<double> PlainDecimal(const std::string& text);

// Hexadecimal as strtoul base 16 reads it: leading white space, optional
// sign, optional "0x"/"0X", hex digits up to the first other character; no
// digits gives 0, overflow gives ULONG_MAX.
unsigned long HexText(const std::string& text);

// A hand-typed DiSEqC message: the low 8 bits of each of five hex texts.
// `length` counts the bytes before the first zero byte, so a zero typed
// inside the message cuts it there. Bytes from `length` on are not part of
// the message.
struct MotorMessage {
  uint8_t bytes[5];
  int length;
};

// Messages shorter than this are not sent.
inline constexpr int kMinMotorMessageLength = 2;

MotorMessage ParseMotorMessage(const std::array<std::string, 5>& texts);
