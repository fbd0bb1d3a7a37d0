// Writes a bit string most significant bit first, as MPEG video syntax is
// laid out, into a byte vector.
#pragma once

#include <cstdint>
#include <vector>

class BitWriter {
 public:
  // The low `count` bits of value (count 0 to 32).
  void Put(std::uint32_t value, int count);
  // Zero bits up to the next byte boundary.
  void AlignWithZeros();
  // A start code: aligned, then 00 00 01 code.
  void StartCode(std::uint8_t code);
  // The bytes written so far; the writer must be aligned.
  const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }
  std::vector<std::uint8_t> Take();
  bool IsAligned() const { return m_used == 0; }

 private:
  std::vector<std::uint8_t> m_bytes;
  std::uint32_t m_pending = 0;  // bits not yet in a byte, in the low m_used bits
  int m_used = 0;
};
