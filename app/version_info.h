// The product version stamped into an executable, read back from the file
// on disk. The stamp is a record in the ELF section ".rx40ver": a signature
// and the product version as two 32-bit words (major.minor, build.revision),
// each packing two 16-bit numbers high word first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct ProductVersionStamp {
  std::uint32_t signature;  // kProductVersionSignature
  std::uint32_t productVersionMS;
  std::uint32_t productVersionLS;
};

constexpr std::uint32_t kProductVersionSignature = 0xFEEF04BD;
constexpr char kVersionSectionName[] = ".rx40ver";

// The stamp in the executable at path, if it has one.
std::optional<ProductVersionStamp> ReadProductVersionStamp(const std::string& executablePath);

// " %d.%d.%d.%d " of the stamp, or the empty text without one.
std::string FormatVersionText(const std::optional<ProductVersionStamp>& stamp);
