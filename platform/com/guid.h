// 128-bit identifiers for interfaces, classes, categories and property sets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];

  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const GUID&;
using REFCLSID = const GUID&;

inline constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

// Parses the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces
// required, hex digits in either case). Anything else gives no value.
std::optional<GUID> ParseGuid(std::string_view text);
std::optional<GUID> ParseGuid(std::wstring_view text);

// Formats in the registry form with upper-case hex digits.
std::string FormatGuid(const GUID& guid);
std::wstring FormatGuidWide(const GUID& guid);

struct GuidHash {
  std::size_t operator()(const GUID& g) const noexcept;
};
