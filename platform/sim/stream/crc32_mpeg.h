// The CRC-32 that closes every PSI section (polynomial 0x04C11DB7, initial
// value 0xFFFFFFFF, no reflection, no final inversion).
#pragma once

#include <cstddef>
#include <cstdint>

std::uint32_t Crc32Mpeg(const std::uint8_t* data, std::size_t size);
